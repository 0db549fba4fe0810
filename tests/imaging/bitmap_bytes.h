#pragma once

#include "tests/imaging/byte_writer.h"

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace pictarium::test {

// The little-endian 16- and 32-bit fields and blue-green-red pixels of the
// bitmap files the tests write byte by byte.
inline QByteArray le16(int value) {
    return ByteWriter().u16le(value).result();
}

inline QByteArray le32(std::int32_t value) {
    return ByteWriter().u32le(static_cast<std::uint32_t>(value)).result();
}

inline QByteArray bgr(QRgb colour) {
    return ByteWriter().u8(qBlue(colour)).u8(qGreen(colour)).u8(qRed(colour)).result();
}

// The rows of a 24-bit bitmap of the picture: bottom row first, each
// padded to four bytes.
inline QByteArray bitmapRows24(const QImage& picture) {
    ByteWriter rows;
    for (int y = picture.height() - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width(); ++x) {
            rows.bytes(bgr(picture.pixel(x, y)));
        }
        rows.align(4);
    }
    return rows.result();
}

// A 24-bit device-independent bitmap of the picture: a 40-byte header,
// then its rows.
inline QByteArray dib24(const QImage& picture) {
    const QByteArray rows = bitmapRows24(picture);
    ByteWriter dib;
    dib.u32les({40, picture.width(), picture.height()}).u16les({1, 24});
    dib.u32les({0, rows.size(), 0, 0, 0, 0});
    return dib.bytes(rows).result();
}

// An info-like header of `size` bytes for a picture 2 pixels wide, as the
// tests' bitmaps are: the colours it uses at byte 32, `masks` from byte 40
// on, zeros elsewhere.
inline QByteArray bitmapHeader(int size, int height, int bits, int compression = 0, int colours = 0,
                               const QByteArray& masks = {}) {
    ByteWriter bytes;
    bytes.u32les({size, 2, height}).u16les({1, bits}).u32les({compression, 0, 0, 0, colours, 0});
    return bytes.bytes(masks).padTo(std::max(size, 40)).result().left(size);
}

// A palette of blue-green-red entries of `entryBytes` each.
inline QByteArray bitmapPalette(std::initializer_list<QRgb> colours, int entryBytes = 4) {
    ByteWriter table;
    for (const QRgb colour : colours) {
        table.bytes(bgr(colour)).fill(entryBytes - 3);
    }
    return table.result();
}

// A bitmap file of `header`, then `between` (masks or palette) and the
// pixels. Its size field is wrong: readers must not trust it.
inline QByteArray bitmapFile(QByteArrayView header, QByteArrayView between, QByteArrayView pixels) {
    ByteWriter file;
    file.bytes("BM").u32les({0x0BADF00D, 0, 14 + header.size() + between.size()});
    return file.bytes(header).bytes(between).bytes(pixels).result();
}

}  // namespace pictarium::test
