#include "thumbnails/thumbnail_cache.h"

#include "tests/imaging/picture_file_fixture.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace pictarium::test {
namespace {

QByteArray keyOf(const char* name) {
    return QCryptographicHash::hash(name, QCryptographicHash::Sha256);
}

QImage filled(QRgb colour) {
    QImage picture(48, 32, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

class ThumbnailCacheTest : public PictureFileTest {};

TEST_F(ThumbnailCacheTest, deletesADamagedFileRatherThanTrustIt) {
    const QList<std::function<void(QByteArray&)>> damages = {
        [](QByteArray& file) { file.chop(10); },
        [](QByteArray& file) { file[file.size() - 20] ^= 0x20; },  // in the picture
        [](QByteArray& file) { file[9] = 7; },                     // another version
        [](QByteArray& file) { file = "un fichier quelconque"; },
    };
    ThumbnailCache cache(mFolder.path());
    const QString path = cache.pathOf(keyOf("a"));
    for (qsizetype i = 0; i < damages.size(); ++i) {
        ASSERT_TRUE(cache.store(keyOf("a"), filled(qRgb(0, 90, 200))));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        damages[i](bytes);
        write(QFileInfo(path).fileName(), bytes);
        EXPECT_TRUE(cache.find(keyOf("a")).isNull()) << "damage " << i;
        EXPECT_FALSE(QFile::exists(path)) << "damage " << i;
    }
}

TEST_F(ThumbnailCacheTest, keepsThumbnailsAcrossRunsAndLetsTheLeastRecentlyUsedGoFirst) {
    ThumbnailCache earlierRun(mFolder.path());
    ASSERT_TRUE(earlierRun.store(keyOf("a"), filled(qRgb(200, 40, 40))));
    ThumbnailCache cache(mFolder.path(), QFile(earlierRun.pathOf(keyOf("a"))).size() * 5 / 2);
    ASSERT_TRUE(cache.store(keyOf("b"), filled(qRgb(10, 10, 10))));
    for (const char* name : {"a", "b"}) {  // "a" the older
        QFile file(cache.pathOf(keyOf(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600 * ('c' - name[0])),
                         QFileDevice::FileModificationTime);
    }
    const QRgb found = cache.find(keyOf("a")).pixel(20, 20);  // now the more recent
    EXPECT_NEAR(qRed(found), 200, 6);
    EXPECT_NEAR(qGreen(found), 40, 6);
    ASSERT_TRUE(cache.store(keyOf("c"), filled(qRgb(10, 10, 10))));
    EXPECT_TRUE(QFile::exists(cache.pathOf(keyOf("a"))));
    EXPECT_FALSE(QFile::exists(cache.pathOf(keyOf("b"))));
    EXPECT_TRUE(QFile::exists(cache.pathOf(keyOf("c"))));
}

}  // namespace
}  // namespace pictarium::test
