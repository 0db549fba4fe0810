#include "thumbnails/thumbnail_maker.h"

#include "tests/imaging/bitmap_bytes.h"
#include "tests/imaging/picture_file_fixture.h"
#include "tests/stored_base.h"

#include <QMap>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace pictarium::test {
namespace {

class ThumbnailMakerTest : public PictureFileTest {
protected:
    QString writeBase(const QString& name, const QList<QByteArray>& pictures) {
        QList<StoredRecord> records;
        for (const QByteArray& picture : pictures) {
            records.append({storedText(name.toLatin1()), picture});
        }
        return write(name, wellFormedBase(records));
    }

    // The thumbnails of `indexes`, each checked to come once, on this
    // thread, with the generation of the base.
    QMap<int, QImage> thumbnailsOf(const QString& base, const QList<int>& indexes) {
        const quint64 generation = mMaker.setBase(base);
        QMap<int, QImage> thumbnails;
        QObject receiver;
        QObject::connect(&mMaker, &ThumbnailMaker::thumbnailReady, &receiver,
                         [&](quint64 from, int index, const QImage& thumbnail) {
                             EXPECT_EQ(QThread::currentThread(), receiver.thread());
                             EXPECT_EQ(from, generation);
                             EXPECT_FALSE(thumbnails.contains(index));
                             thumbnails.insert(index, thumbnail);
                         });
        mMaker.request(indexes);
        EXPECT_TRUE(QTest::qWaitFor([&] { return thumbnails.size() == indexes.size(); }, 10000));
        return thumbnails;
    }

    ThumbnailMaker mMaker{mFolder.filePath("cache")};
};

TEST_F(ThumbnailMakerTest, deliversEveryRequestedRecordOrAPlaceholder) {
    // Run-length codes of a 2 x 2 picture: a green row under a yellow one.
    const QByteArray runLength = bitmapFile(bitmapHeader(40, 2, 8, 1, 2),
                                            bitmapPalette({qRgb(0, 128, 0), qRgb(255, 255, 0)}),
                                            QByteArray::fromHex("02000000020100000001"))
                                     .mid(3);
    const QMap<int, QImage> thumbnails = thumbnailsOf(
        writeBase("mixed.bdp", {storedPicture(Qt::red, 40, 30), runLength, QByteArray(50, 'x'),
                                storedPicture(Qt::blue, 30, 400)}),
        {3, 0, 1, 2, 99});
    EXPECT_EQ(thumbnails[0].size(), QSize(40, 30));
    EXPECT_EQ(thumbnails[0].pixel(20, 15), qRgb(255, 0, 0));
    EXPECT_EQ(thumbnails[1].pixel(0, 0), qRgb(255, 255, 0));
    EXPECT_EQ(thumbnails[1].pixel(1, 1), qRgb(0, 128, 0));
    EXPECT_TRUE(thumbnails[2].isNull());
    EXPECT_EQ(thumbnails[3].size(), QSize(24, 320));
    EXPECT_TRUE(thumbnails[99].isNull());
    EXPECT_TRUE(thumbnailsOf(mFolder.filePath("missing.bdp"), {0})[0].isNull());
}

TEST_F(ThumbnailMakerTest, findsAThumbnailByItsBytesWhereverTheRecordIs) {
    const QByteArray red = storedPicture(Qt::red, 40, 30);
    const QByteArray blue = storedPicture(Qt::blue, 40, 30);
    (void)thumbnailsOf(writeBase("first.bdp", {red, blue}), {0, 1});
    // Grey stand-ins under the same keys tell a thumbnail found from one made.
    ThumbnailCache cache(mFolder.filePath("cache"));
    QImage grey(40, 30, QImage::Format_RGB32);
    grey.fill(Qt::gray);
    for (const QString& name : QDir(mFolder.filePath("cache")).entryList(QDir::Files)) {
        ASSERT_TRUE(cache.store(QByteArray::fromHex(name.section('.', 0, 0).toLatin1()), grey));
    }
    // Moved, with other texts and a new record: only the new one is made.
    const QMap<int, QImage> moved = thumbnailsOf(
        writeBase("moved.bdp", {blue, red, storedPicture(Qt::green, 40, 30)}), {0, 1, 2});
    EXPECT_EQ(moved[0].pixel(5, 5), moved[1].pixel(5, 5));
    EXPECT_NEAR(qGray(moved[0].pixel(5, 5)), qGray(grey.pixel(5, 5)), 4);
    EXPECT_NEAR(qGreen(moved[2].pixel(5, 5)), 255, 6);
    // The top right pixel, last in the file, changed: made anew, never found.
    QByteArray changed = red;
    changed.replace(red.size() - 3, 3, bgr(qRgb(0, 0, 255)));
    const QImage again = thumbnailsOf(writeBase("changed.bdp", {changed}), {0})[0];
    EXPECT_EQ(again.pixel(39, 0), qRgb(0, 0, 255));
    EXPECT_EQ(again.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(QDir(mFolder.filePath("cache")).count(), 2U + 4U);  // with . and ..
}

}  // namespace
}  // namespace pictarium::test
