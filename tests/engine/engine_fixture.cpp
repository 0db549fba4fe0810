#include "tests/engine/engine_fixture.h"

#include "imaging/core/bitmap_codec.h"
#include "tests/stored_base.h"

#include <QDir>
#include <QFile>

namespace pictarium::test {

QString EngineTest::basePath(const QString& name) const {
    return mDataFolder.filePath(name);
}

QString EngineTest::buildBase(int count, const QString& name) {
    const QString path = basePath(name);
    RecordingHost host(mProgramFolder.path());
    ClassDBP builder(host);
    EXPECT_TRUE(builder.CreateBDP(path));
    EXPECT_TRUE(builder.OpenBDP(path));
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(builder.AddBDP(picture(i), QStringLiteral("record %1").arg(i)));
    }
    EXPECT_TRUE(host.messages.empty());
    return path;
}

QString EngineTest::openBaseWith(int count, const QString& name) {
    const QString path = buildBase(count, name);
    if (mBase.isBaseOpen()) {
        mHost.answer(MessageAnswer::Yes);
    }
    EXPECT_TRUE(mBase.OpenBDP(path));
    mHost.take();
    mHost.messages.clear();
    return path;
}

QImage EngineTest::picture(int seed, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           qRgb((seed * 40 + x * 20) % 256, (y * 60 + seed) % 256, seed % 7 * 30));
        }
    }
    return image;
}

QByteArray EngineTest::readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

void EngineTest::writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray EngineTest::spoilPicture(const QString& path, int index) {
    QByteArray bytes = readAll(path);
    const qsizetype picture = 16 * int32At(bytes, 4) + int32At(bytes, 8 + 16 * index);
    bytes[picture + 11] = '\x7F';
    bytes[picture + 12] = '\x7F';
    writeAll(path, bytes);
    return bytes;
}

bool EngineTest::tempFilesLeft() const {
    const QDir folder(mProgramFolder.path());
    return !folder.entryList({QStringLiteral("bdp*")}, QDir::Files | QDir::Hidden).isEmpty();
}

QByteArray EngineTest::storedBytes(const QImage& image) {
    return bitmapFileOf(image).mid(3);
}

}  // namespace pictarium::test
