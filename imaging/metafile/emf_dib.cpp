#include "imaging/metafile/emf_dib_p.h"

#include "imaging/core/bitmap_codec.h"

#include <cstdint>
#include <cstring>

namespace pictarium::emf {

namespace {

constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t RgbCompression = 0;
constexpr std::uint32_t PaletteIndexUsage = 1;
constexpr qsizetype FileHeaderSize = 14;

struct DibHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = RgbCompression;
};

DibHeader readDibHeader(QByteArrayView bytes) {
    ByteReader reader(bytes);
    DibHeader header;
    header.size = reader.u32le();
    if (header.size == CoreHeaderSize) {
        header.width = reader.u16le();
        header.height = reader.u16le();
        (void)reader.u16le();
        header.bitsPerPixel = reader.u16le();
        return header;
    }
    requireValid(header.size >= InfoHeaderSize);
    header.width = static_cast<std::int32_t>(reader.u32le());
    header.height = static_cast<std::int32_t>(reader.u32le());
    (void)reader.u16le();
    header.bitsPerPixel = reader.u16le();
    header.compression = reader.u32le();
    return header;
}

// Plain 32-bit rows with their alpha bytes kept, which the bitmap-file
// reader would drop.
QImage premultipliedDib(const DibHeader& header, QByteArrayView bits) {
    const std::int64_t width = header.width;
    const std::int64_t height = header.height < 0 ? -std::int64_t{header.height} : header.height;
    if (width <= 0 || height <= 0 || !isWithinPixelLimit(width, height) ||
        width * height * 4 > bits.size()) {
        return {};
    }
    QImage picture(static_cast<int>(width), static_cast<int>(height),
                   QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull()) {
        return {};
    }
    const bool bottomUp = header.height > 0;
    for (std::int64_t row = 0; row < height; ++row) {
        const std::int64_t y = bottomUp ? height - 1 - row : row;
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(static_cast<int>(y)));
        const char* source = bits.data() + row * width * 4;
        for (std::int64_t x = 0; x < width; ++x, source += 4) {
            const auto byte = [source](int i) { return static_cast<std::uint8_t>(source[i]); };
            const int alpha = byte(3);
            // Colours above their alpha are not premultiplied; clamp them.
            line[x] = qRgba(std::min(byte(2), std::uint8_t(alpha)),
                            std::min(byte(1), std::uint8_t(alpha)),
                            std::min(byte(0), std::uint8_t(alpha)), alpha);
        }
    }
    return picture;
}

QImage viaBitmapFile(QByteArrayView info, QByteArrayView bits) {
    const qsizetype pixelOffset = FileHeaderSize + info.size();
    QByteArray file;
    file.reserve(pixelOffset + bits.size());
    const auto le32 = [&file](std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            file.append(static_cast<char>((value >> shift) & 0xFF));
        }
    };
    file.append("BM", 2);
    le32(static_cast<std::uint32_t>(pixelOffset + bits.size()));
    le32(0);
    le32(static_cast<std::uint32_t>(pixelOffset));
    file.append(info.data(), info.size());
    file.append(bits.data(), bits.size());
    return pictureFromBitmapFile(file);
}

}  // namespace

QImage dibOfRecord(const RecordReader& reader, const DibLocation& location, bool keepAlpha) {
    const QByteArrayView info = reader.part(location.headerOffset, location.headerSize);
    const QByteArrayView bits = reader.part(location.bitsOffset, location.bitsSize);
    if (info.size() < CoreHeaderSize || bits.isEmpty() || location.usage == PaletteIndexUsage) {
        return {};
    }
    try {
        const DibHeader header = readDibHeader(info);
        if (keepAlpha && header.bitsPerPixel == 32 && header.compression == RgbCompression) {
            return premultipliedDib(header, bits);
        }
        return viaBitmapFile(info, bits);
    } catch (const MalformedPicture&) {
        return {};
    }
}

bool isBottomUpDib(const RecordReader& reader, const DibLocation& location) {
    const QByteArrayView info = reader.part(location.headerOffset, location.headerSize);
    try {
        return readDibHeader(info).height > 0;
    } catch (const MalformedPicture&) {
        return true;
    }
}

}  // namespace pictarium::emf
