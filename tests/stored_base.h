#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>

#include <cstdint>

namespace pictarium::test {

// Little-endian 32-bit integers inside a byte array.
[[nodiscard]] std::int32_t int32At(const QByteArray& bytes, qsizetype offset);
void setInt32(QByteArray& bytes, qsizetype offset, std::int32_t value);

// A base written byte by byte from stored texts and pictures, with every
// offset and length as the format wants them.
struct StoredRecord {
    QByteArray text;
    QByteArray picture;
};
[[nodiscard]] QByteArray wellFormedBase(const QList<StoredRecord>& records);
// The stored form of a plain ASCII description.
[[nodiscard]] QByteArray storedText(const QByteArray& ascii);
// The stored form of a small picture of one colour, as Qt writes it: its
// bitmap file less three bytes.
[[nodiscard]] QByteArray storedPicture(const QColor& colour, int width = 2, int height = 2);
// "chat", "chien" and "oiseau", of 4, 5 and 6 text bytes and 67 picture
// bytes each: texts at bytes 56, 127 and 199, record 2's picture at bytes
// 205 to 271, 272 bytes in all.
[[nodiscard]] QByteArray threeRecordBase();

}  // namespace pictarium::test
