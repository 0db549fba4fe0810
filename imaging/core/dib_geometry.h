#pragma once

#include <QByteArrayView>

#include <cstdint>

namespace pictarium {

// What the headers of a bitmap file say of its pixels.
struct DibGeometry {
    static constexpr std::int64_t FileHeaderSize = 14;
    // An OS/2 bitmap array ("BA") holds bitmap files after a header of its own.
    static constexpr std::int64_t BitmapArrayHeaderSize = 14;
    static constexpr std::uint32_t Uncompressed = 0;
    static constexpr std::uint32_t Rle8 = 1;
    static constexpr std::uint32_t Rle4 = 2;
    static constexpr std::uint32_t BitFields = 3;  // Huffman 1D in an OS/2 2.x file
    static constexpr std::uint32_t Jpeg = 4;       // run-length 24 in an OS/2 2.x file
    static constexpr std::uint32_t Png = 5;
    static constexpr std::uint32_t AlphaBitFields = 6;

    std::int64_t width = 0;
    std::int64_t height = 0;  // always positive; see topDown
    bool topDown = false;     // the first row in the file is the top one
    std::int64_t bitsPerPixel = 0;
    std::uint32_t compression = Uncompressed;
    std::int64_t pixelsAt = 0;  // the offset of the pixel data in the file

    // Pixels stored one row after the other, each row padded to 4 bytes.
    [[nodiscard]] bool hasRawPixels() const {
        return compression == Uncompressed || compression == BitFields ||
               compression == AlphaBitFields;
    }
    [[nodiscard]] std::int64_t rowBytes() const { return (width * bitsPerPixel + 31) / 32 * 4; }
};

// The info header sizes Windows writes: 40 bytes, with masks after them
// (52 and 56), and versions 4 (108) and 5 (124).
[[nodiscard]] bool isWindowsInfoHeaderSize(std::int64_t size);

// The depths of the pixels a bitmap may hold.
[[nodiscard]] bool isKnownBitDepth(int bits);

// Reads the file and info headers; false when `file` is too short for
// them. The values are as stored: nothing says they make sense.
[[nodiscard]] bool readGeometry(QByteArrayView file, DibGeometry& geometry);

}  // namespace pictarium
