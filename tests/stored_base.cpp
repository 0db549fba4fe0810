#include "tests/stored_base.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace pictarium::test {

std::int32_t int32At(const QByteArray& bytes, qsizetype offset) {
    std::uint32_t value = 0;
    for (int byte = 3; byte >= 0; --byte) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes.at(offset + byte));
    }
    return static_cast<std::int32_t>(value);
}

void setInt32(QByteArray& bytes, qsizetype offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int byte = 0; byte < 4; ++byte) {
        bytes[offset + byte] = static_cast<char>((bits >> (8 * byte)) & 0xFF);
    }
}

namespace {

QByteArray int32Bytes(std::int32_t value) {
    QByteArray bytes(4, '\0');
    setInt32(bytes, 0, value);
    return bytes;
}

}  // namespace

QByteArray wellFormedBase(const QList<StoredRecord>& records) {
    QByteArray index;
    QByteArray data;
    std::int32_t textOffset = 8;
    for (const StoredRecord& record : records) {
        const auto textLength = static_cast<std::int32_t>(record.text.size());
        const auto picLength = static_cast<std::int32_t>(record.picture.size());
        index += int32Bytes(textOffset + textLength) + int32Bytes(picLength) +
                 int32Bytes(textOffset) + int32Bytes(textLength);
        data += record.text + record.picture;
        textOffset += textLength + picLength;
    }
    return QByteArray::fromHex("24147106") + int32Bytes(static_cast<std::int32_t>(records.size())) +
           index + data;
}

QByteArray storedText(const QByteArray& ascii) {
    QByteArray stored = ascii;
    for (char& byte : stored) {
        byte = static_cast<char>(static_cast<std::uint8_t>(byte) + 127);
    }
    return stored;
}

QByteArray storedPicture(const QColor& colour, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB888);
    picture.fill(colour);
    QByteArray bitmapFile;
    QBuffer buffer(&bitmapFile);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, "BMP"));
    return bitmapFile.mid(3);
}

QByteArray threeRecordBase() {
    return wellFormedBase({{storedText("chat"), storedPicture(Qt::red)},
                           {storedText("chien"), storedPicture(Qt::green)},
                           {storedText("oiseau"), storedPicture(Qt::blue)}});
}

}  // namespace pictarium::test
