#include "thumbnails/thumbnail_cache.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

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

void setAge(const QString& path, int hours) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600 * hours),
                                 QFileDevice::FileModificationTime));
}

TEST(ThumbnailCache, findsWhatAnEarlierRunStored) {
    const QTemporaryDir folder;
    ASSERT_TRUE(ThumbnailCache(folder.path()).store(keyOf("a"), filled(qRgb(200, 40, 40))));
    ThumbnailCache again(folder.path());
    const QImage found = again.find(keyOf("a"));
    ASSERT_EQ(found.size(), QSize(48, 32));
    EXPECT_NEAR(qRed(found.pixel(20, 20)), 200, 6);
    EXPECT_NEAR(qGreen(found.pixel(20, 20)), 40, 6);
    EXPECT_TRUE(again.find(keyOf("b")).isNull());
}

TEST(ThumbnailCache, deletesADamagedFileRatherThanTrustIt) {
    const QList<std::function<void(QByteArray&)>> damages = {
        [](QByteArray& file) { file.chop(10); },                   // cut short
        [](QByteArray& file) { file[file.size() - 20] ^= 0x20; },  // a payload byte
        [](QByteArray& file) { file[9] = 7; },                     // another version
        [](QByteArray& file) { file = "un fichier quelconque"; },  // foreign
        [](QByteArray& file) { file.clear(); },
    };
    for (qsizetype i = 0; i < damages.size(); ++i) {
        const QTemporaryDir folder;
        ThumbnailCache cache(folder.path());
        ASSERT_TRUE(cache.store(keyOf("a"), filled(qRgb(0, 90, 200))));
        QFile file(cache.pathOf(keyOf("a")));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        damages[i](bytes);
        file.resize(0);
        file.write(bytes);
        file.close();
        EXPECT_TRUE(cache.find(keyOf("a")).isNull()) << "damage " << i;
        EXPECT_FALSE(QFile::exists(file.fileName())) << "damage " << i;
    }
}

TEST(ThumbnailCache, letsTheLeastRecentlyUsedGoFirst) {
    const QTemporaryDir folder;
    ThumbnailCache probe(folder.path());
    ASSERT_TRUE(probe.store(keyOf("probe"), filled(qRgb(10, 10, 10))));
    const qint64 fileSize = QFile(probe.pathOf(keyOf("probe"))).size();
    QFile::remove(probe.pathOf(keyOf("probe")));

    ThumbnailCache cache(folder.path(), fileSize * 5 / 2);
    ASSERT_TRUE(cache.store(keyOf("a"), filled(qRgb(10, 10, 10))));
    ASSERT_TRUE(cache.store(keyOf("b"), filled(qRgb(10, 10, 10))));
    setAge(cache.pathOf(keyOf("a")), 2);
    setAge(cache.pathOf(keyOf("b")), 1);
    ASSERT_FALSE(cache.find(keyOf("a")).isNull());  // now the most recent
    ASSERT_TRUE(cache.store(keyOf("c"), filled(qRgb(10, 10, 10))));
    EXPECT_TRUE(QFile::exists(cache.pathOf(keyOf("a"))));
    EXPECT_FALSE(QFile::exists(cache.pathOf(keyOf("b"))));
    EXPECT_TRUE(QFile::exists(cache.pathOf(keyOf("c"))));
}

}  // namespace
}  // namespace pictarium::test
