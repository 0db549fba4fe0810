#include "imaging/core/bmp_decoder.h"

#include "base/byte_order.h"
#include "imaging/core/bitmap_codec.h"
#include "imaging/core/dib_geometry.h"
#include "imaging/core/display_colours.h"
#include "imaging/core/modified_huffman_p.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>

namespace pictarium {

namespace {

constexpr std::int64_t FileHeaderSize = DibGeometry::FileHeaderSize;
constexpr std::int64_t CoreHeaderSize = 12;
constexpr std::uint32_t RgbCompression = DibGeometry::Uncompressed;
constexpr std::uint32_t Rle8Compression = DibGeometry::Rle8;
constexpr std::uint32_t Rle4Compression = DibGeometry::Rle4;
constexpr std::uint32_t BitFieldsCompression = DibGeometry::BitFields;
constexpr std::uint32_t JpegCompression = DibGeometry::Jpeg;
constexpr std::uint32_t PngCompression = DibGeometry::Png;
constexpr std::uint32_t AlphaBitFieldsCompression = DibGeometry::AlphaBitFields;
const QRgb Black = qRgb(0, 0, 0);

enum class Coding { Raw, Rle8, Rle4, Rle24, Huffman1D, Jpeg, Png };

// One colour channel of a 16- or 32-bit pixel, scaled to 8 bits.
class Channel {
public:
    // False for a mask whose bits are not contiguous.
    bool setMask(std::uint32_t mask) {
        mMask = mask;
        mShift = 0;
        if (mask == 0) {
            mMax = 0;
            return true;
        }
        while ((mask & 1U) == 0) {
            mask >>= 1;
            ++mShift;
        }
        mMax = mask;
        return (mask & (mask + 1)) == 0;
    }
    [[nodiscard]] bool isSet() const { return mMax != 0; }
    [[nodiscard]] int of(std::uint32_t pixel) const {
        if (mMax == 0) {
            return 0;
        }
        const std::uint64_t value = (pixel & mMask) >> mShift;
        return static_cast<int>((value * 255 + mMax / 2) / mMax);
    }

private:
    std::uint32_t mMask = 0;
    int mShift = 0;
    std::uint64_t mMax = 0;
};

// Where everything is, as the headers say it.
struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bits = 0;
    Coding coding = Coding::Raw;
    Channel red;
    Channel green;
    Channel blue;
    Channel alpha;
    std::int64_t paletteAt = 0;
    std::int64_t paletteEntry = 4;
    std::int64_t paletteCount = 0;
    std::int64_t pixelsAt = 0;
};

bool isKnownHeaderSize(std::int64_t size) {
    return size == CoreHeaderSize || (size >= 16 && size <= 64) || size == 108 || size == 124;
}

// A sample of the 64-bit pixels Windows writes: linear light, 16 bits of
// fixed point with 13 of them after the point, between 0 and 1.
double fromFixedPoint(std::uint16_t sample) {
    return std::clamp(static_cast<std::int16_t>(sample) / 8192.0, 0.0, 1.0);
}

// A colour sample of those pixels, brought to 8-bit sRGB.
int fromLinearFixedPoint(std::uint16_t sample) {
    const double linear = fromFixedPoint(sample);
    const double encoded =
        linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<int>(std::lround(encoded * 255));
}

std::optional<Coding> codingOf(std::uint32_t compression, int bits, bool os2) {
    switch (compression) {
        case RgbCompression:
            return Coding::Raw;
        case Rle8Compression:
            return bits == 8 ? std::optional(Coding::Rle8) : std::nullopt;
        case Rle4Compression:
            return bits == 4 ? std::optional(Coding::Rle4) : std::nullopt;
        case BitFieldsCompression:
            // OS/2 gives the number to fax coding of one-bit pictures.
            if (os2 && bits == 1) {
                return Coding::Huffman1D;
            }
            return bits == 16 || bits == 32 ? std::optional(Coding::Raw) : std::nullopt;
        case AlphaBitFieldsCompression:
            return bits == 16 || bits == 32 ? std::optional(Coding::Raw) : std::nullopt;
        case JpegCompression:
            if (os2) {
                return bits == 24 ? std::optional(Coding::Rle24) : std::nullopt;
            }
            return Coding::Jpeg;
        case PngCompression:
            return Coding::Png;
        default:
            return std::nullopt;
    }
}

// The masks of a bit-field picture, or the default ones of 16 and 32 bits.
bool readMasks(QByteArrayView file, std::int64_t headerSize, std::uint32_t compression,
               Layout& layout) {
    const bool given =
        compression == BitFieldsCompression || compression == AlphaBitFieldsCompression;
    if (!given || layout.bits < 16) {
        const bool sixteen = layout.bits == 16;
        return layout.red.setMask(sixteen ? 0x7C00U : 0xFF0000U) &&
               layout.green.setMask(sixteen ? 0x03E0U : 0xFF00U) &&
               layout.blue.setMask(sixteen ? 0x001FU : 0xFFU);
    }
    // In the headers of 52 bytes and more; just after a shorter one.
    std::int64_t at = FileHeaderSize + 40;
    bool withAlpha = headerSize >= 56;
    if (headerSize < 52) {
        at = FileHeaderSize + headerSize;
        withAlpha = compression == AlphaBitFieldsCompression;
        layout.paletteAt += withAlpha ? 16 : 12;
    }
    if (at + (withAlpha ? 16 : 12) > file.size()) {
        return false;
    }
    const char* masks = file.data() + at;
    return layout.red.setMask(getUint32(masks)) && layout.green.setMask(getUint32(masks + 4)) &&
           layout.blue.setMask(getUint32(masks + 8)) &&
           (!withAlpha || layout.alpha.setMask(getUint32(masks + 12)));
}

std::optional<Layout> readLayout(QByteArrayView file) {
    if (file.size() < FileHeaderSize + 4) {
        return std::nullopt;
    }
    const char* dib = file.data() + FileHeaderSize;
    const std::int64_t headerSize = getUint32(dib);
    if (!isKnownHeaderSize(headerSize) || FileHeaderSize + headerSize > file.size()) {
        return std::nullopt;
    }
    Layout layout;
    std::uint32_t compression = RgbCompression;
    std::int64_t coloursUsed = 0;
    int planes = 0;
    if (headerSize == CoreHeaderSize) {
        layout.width = getUint16(dib + 4);
        layout.height = getUint16(dib + 6);
        planes = getUint16(dib + 8);
        layout.bits = getUint16(dib + 10);
        layout.paletteEntry = 3;
    } else {
        layout.width = getInt32(dib + 4);
        const std::int64_t height = getInt32(dib + 8);
        layout.topDown = height < 0;
        layout.height = layout.topDown ? -height : height;
        planes = getUint16(dib + 12);
        layout.bits = getUint16(dib + 14);
        compression = headerSize >= 20 ? getUint32(dib + 16) : RgbCompression;
        coloursUsed = headerSize >= 36 ? getUint32(dib + 32) : 0;
    }
    const bool os2 = !isWindowsInfoHeaderSize(headerSize);
    // A JPEG or PNG stream may leave the depth to itself.
    const bool embedded = !os2 && (compression == JpegCompression || compression == PngCompression);
    if (layout.width <= 0 || layout.height <= 0 || planes != 1 ||
        (!embedded && !isKnownBitDepth(layout.bits)) ||
        !isWithinPixelLimit(layout.width, layout.height)) {
        return std::nullopt;
    }
    const std::optional<Coding> coding = codingOf(compression, layout.bits, os2);
    if (!coding || (layout.topDown && *coding != Coding::Raw)) {
        return std::nullopt;
    }
    layout.coding = *coding;
    layout.paletteAt = FileHeaderSize + headerSize;
    if (!readMasks(file, headerSize, compression, layout)) {
        return std::nullopt;
    }
    // A palette that cannot be in the file is a broken header.
    if (coloursUsed * layout.paletteEntry > file.size()) {
        return std::nullopt;
    }
    const std::int64_t fullPalette = layout.bits <= 8 ? std::int64_t{1} << layout.bits : 0;
    const std::int64_t declared = coloursUsed > 0 ? coloursUsed : fullPalette;
    layout.pixelsAt = getUint32(file.data() + 10);
    if (layout.pixelsAt < layout.paletteAt) {
        layout.pixelsAt = layout.paletteAt + declared * layout.paletteEntry;
    }
    // Short palettes end where the pixels start.
    layout.paletteCount = std::min(std::min(declared, fullPalette),
                                   (layout.pixelsAt - layout.paletteAt) / layout.paletteEntry);
    if (layout.pixelsAt > file.size()) {
        return std::nullopt;
    }
    return layout;
}

// Every entry an index of its depth can name; those the file lacks are black.
QList<QRgb> readPalette(QByteArrayView file, const Layout& layout) {
    QList<QRgb> palette(qsizetype{1} << layout.bits, Black);
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    for (std::int64_t i = 0; i < layout.paletteCount; ++i) {
        const std::int64_t at = layout.paletteAt + i * layout.paletteEntry;
        palette[i] = qRgb(bytes[at + 2], bytes[at + 1], bytes[at]);
    }
    return palette;
}

QImage::Format formatOf(const Layout& layout) {
    if (layout.bits == 1) {
        return QImage::Format_Mono;
    }
    if (layout.bits <= 8) {
        return QImage::Format_Indexed8;
    }
    return layout.alpha.isSet() || layout.bits == 64 ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

QImage blankPicture(const Layout& layout) {
    QImage picture(static_cast<int>(layout.width), static_cast<int>(layout.height),
                   formatOf(layout));
    if (picture.isNull()) {
        return {};
    }
    picture.fill(0);
    return picture;
}

// One row of the file into one row of the picture.
void decodeRow(const unsigned char* row, const Layout& layout, uchar* line) {
    const auto width = static_cast<int>(layout.width);
    switch (layout.bits) {
        case 1:
            std::memcpy(line, row, static_cast<std::size_t>((width + 7) / 8));
            return;
        case 2:
        case 4:
        case 8: {
            const int perByte = 8 / layout.bits;
            const int mask = (1 << layout.bits) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = (perByte - 1 - x % perByte) * layout.bits;
                line[x] = static_cast<uchar>((row[x / perByte] >> shift) & mask);
            }
            return;
        }
        case 24: {
            auto* pixels = reinterpret_cast<QRgb*>(line);
            for (int x = 0; x < width; ++x) {
                pixels[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            }
            return;
        }
        case 64: {
            auto* pixels = reinterpret_cast<QRgb*>(line);
            for (int x = 0; x < width; ++x) {
                const auto* pixel = reinterpret_cast<const char*>(row + 8 * x);
                // The alpha sample is linear like the others, and needs no curve.
                const double alpha = fromFixedPoint(getUint16(pixel + 6));
                pixels[x] = qRgba(fromLinearFixedPoint(getUint16(pixel + 4)),
                                  fromLinearFixedPoint(getUint16(pixel + 2)),
                                  fromLinearFixedPoint(getUint16(pixel)),
                                  static_cast<int>(std::lround(alpha * 255)));
            }
            return;
        }
        default: {
            auto* pixels = reinterpret_cast<QRgb*>(line);
            const bool sixteen = layout.bits == 16;
            for (int x = 0; x < width; ++x) {
                const std::uint32_t value =
                    sixteen ? getUint16(reinterpret_cast<const char*>(row + 2 * x))
                            : getUint32(reinterpret_cast<const char*>(row + 4 * x));
                const int opacity = layout.alpha.isSet() ? layout.alpha.of(value) : 255;
                pixels[x] = qRgba(layout.red.of(value), layout.green.of(value),
                                  layout.blue.of(value), opacity);
            }
            return;
        }
    }
}

QImage decodeRaw(QByteArrayView file, const Layout& layout) {
    const std::int64_t rowBytes = (layout.width * layout.bits + 31) / 32 * 4;
    // The last row may lack its padding.
    const std::int64_t lastRow = (layout.width * layout.bits + 7) / 8;
    if (rowBytes * (layout.height - 1) + lastRow > file.size() - layout.pixelsAt) {
        return {};
    }
    QImage picture = blankPicture(layout);
    if (picture.isNull()) {
        return {};
    }
    picture.setColorTable(layout.bits <= 8 ? readPalette(file, layout) : QList<QRgb>());
    const auto* pixels = reinterpret_cast<const unsigned char*>(file.data() + layout.pixelsAt);
    for (std::int64_t row = 0; row < layout.height; ++row) {
        const std::int64_t y = layout.topDown ? row : layout.height - 1 - row;
        decodeRow(pixels + row * rowBytes, layout, picture.scanLine(static_cast<int>(y)));
    }
    return picture;
}

// Writes the pixels of run-length codes; false when a row would fall
// outside the picture. Encoders pad odd widths with pixels past the row's
// end: those are dropped, and the position stays at the end of the row.
class RunWriter {
public:
    RunWriter(QImage& picture, const Layout& layout) : mPicture(picture), mLayout(layout) {}

    bool put(std::int64_t count, const std::function<QRgb(std::int64_t)>& pixel) {
        if (mY >= mLayout.height) {
            return false;
        }
        const std::int64_t end = std::min(mX + count, mLayout.width);
        uchar* line = mPicture.scanLine(static_cast<int>(mLayout.height - 1 - mY));
        for (std::int64_t i = 0; mX < end; ++i, ++mX) {
            if (mLayout.coding == Coding::Rle24) {
                reinterpret_cast<QRgb*>(line)[mX] = pixel(i);
            } else {
                line[mX] = static_cast<uchar>(pixel(i));
            }
        }
        return true;
    }
    void endRow() {
        mX = 0;
        ++mY;
    }
    bool move(std::int64_t dx, std::int64_t dy) {
        mX += dx;
        mY += dy;
        return mX <= mLayout.width && mY <= mLayout.height;
    }

private:
    QImage& mPicture;
    const Layout& mLayout;
    std::int64_t mX = 0;
    std::int64_t mY = 0;  // counted from the bottom row
};

QImage decodeRunLength(QByteArrayView file, const Layout& layout) {
    QImage picture = blankPicture(layout);
    if (picture.isNull()) {
        return {};
    }
    if (layout.bits <= 8) {
        picture.setColorTable(readPalette(file, layout));
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    const std::int64_t size = file.size();
    const std::int64_t pixelBytes = layout.coding == Coding::Rle24 ? 3 : 1;
    const auto colourAt = [bytes](std::int64_t at) {
        return qRgb(bytes[at + 2], bytes[at + 1], bytes[at]);
    };
    RunWriter writer(picture, layout);
    std::int64_t at = layout.pixelsAt;
    while (at + 2 <= size) {
        const int count = bytes[at];
        if (count > 0) {
            // A run: one value (two alternating nibbles in RLE4).
            if (at + 1 + pixelBytes > size) {
                break;
            }
            const std::int64_t value = at + 1;
            const bool written = writer.put(count, [&](std::int64_t i) -> QRgb {
                if (layout.coding == Coding::Rle24) {
                    return colourAt(value);
                }
                const int byte = bytes[value];
                return layout.coding == Coding::Rle4 ? ((i % 2 == 0) ? byte >> 4 : byte & 0x0F)
                                                     : byte;
            });
            if (!written) {
                return {};
            }
            at += 1 + pixelBytes;
            continue;
        }
        const int code = bytes[at + 1];
        at += 2;
        if (code == 0) {
            writer.endRow();
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            if (at + 2 > size || !writer.move(bytes[at], bytes[at + 1])) {
                return {};
            }
            at += 2;
        } else {
            // Absolute pixels, padded to two bytes.
            const std::int64_t stored =
                layout.coding == Coding::Rle4 ? (code + 1) / 2 : code * pixelBytes;
            if (at + stored > size) {
                break;
            }
            const std::int64_t first = at;
            const bool written = writer.put(code, [&](std::int64_t i) -> QRgb {
                switch (layout.coding) {
                    case Coding::Rle24:
                        return colourAt(first + 3 * i);
                    case Coding::Rle4:
                        return (i % 2 == 0) ? bytes[first + i / 2] >> 4
                                            : bytes[first + i / 2] & 0x0F;
                    default:
                        return bytes[first + i];
                }
            });
            if (!written) {
                return {};
            }
            at += (stored + 1) / 2 * 2;
        }
    }
    return picture;
}

QImage decodeFaxCoded(QByteArrayView file, const Layout& layout) {
    const auto width = static_cast<int>(layout.width);
    const auto height = static_cast<int>(layout.height);
    const qsizetype rowBytes = (width + 7) / 8;
    const std::optional<QByteArray> rows =
        decodeModifiedHuffman(file.sliced(layout.pixelsAt), width, height, rowBytes);
    QImage picture = rows ? blankPicture(layout) : QImage();
    if (picture.isNull()) {
        return {};
    }
    picture.setColorTable(readPalette(file, layout));
    for (int row = 0; row < height; ++row) {
        std::memcpy(picture.scanLine(height - 1 - row), rows->constData() + row * rowBytes,
                    static_cast<std::size_t>(rowBytes));
    }
    return picture;
}

QImage decodeEmbedded(QByteArrayView file, const Layout& layout) {
    const QByteArray stream =
        QByteArray::fromRawData(file.data() + layout.pixelsAt, file.size() - layout.pixelsAt);
    QImage picture = QImage::fromData(stream, layout.coding == Coding::Jpeg ? "JPEG" : "PNG");
    if (picture.isNull()) {
        return {};
    }
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_RGB32);
}

QImage decodePixels(QByteArrayView file, const Layout& layout) {
    switch (layout.coding) {
        case Coding::Raw:
            return decodeRaw(file, layout);
        case Coding::Rle8:
        case Coding::Rle4:
        case Coding::Rle24:
            return decodeRunLength(file, layout);
        case Coding::Huffman1D:
            return decodeFaxCoded(file, layout);
        case Coding::Jpeg:
        case Coding::Png:
            return decodeEmbedded(file, layout);
    }
    return {};
}

// The colour profile a version 5 header embeds, counted from the header's
// start; linked ones, a path to another file, are not followed.
QColorSpace embeddedColourSpace(QByteArrayView file) {
    constexpr std::uint32_t Embedded = 0x4D424544;  // "MBED"
    const char* dib = file.data() + FileHeaderSize;
    if (getUint32(dib) < 124 || getUint32(dib + 56) != Embedded) {
        return {};
    }
    const std::int64_t at = FileHeaderSize + std::int64_t{getUint32(dib + 112)};
    const std::int64_t size = getUint32(dib + 116);
    if (at > file.size() || size > file.size() - at) {
        return {};
    }
    return colourSpaceOfProfile(file.sliced(at, size));
}

}  // namespace

QImage decodeBitmapFile(QByteArrayView file) {
    const std::optional<Layout> layout = readLayout(file);
    if (!layout) {
        return {};
    }
    QImage picture = decodePixels(file, *layout);
    if (!picture.isNull()) {
        picture.setColorSpace(embeddedColourSpace(file));
    }
    return picture;
}

QByteArray firstBitmapOfArray(QByteArrayView file) {
    constexpr qsizetype ArrayHeaderSize = DibGeometry::BitmapArrayHeaderSize;
    constexpr qsizetype PixelOffsetAt = 10;
    if (file.size() < ArrayHeaderSize + FileHeaderSize + 4 || !file.startsWith("BA") ||
        file.sliced(ArrayHeaderSize, 2) != QByteArrayView("BM")) {
        return {};
    }
    QByteArray bitmap(file.data() + ArrayHeaderSize, file.size() - ArrayHeaderSize);
    const std::uint32_t pixelsAt = getUint32(bitmap.constData() + PixelOffsetAt);
    if (pixelsAt < ArrayHeaderSize) {
        return {};
    }
    putInt32(bitmap.data() + PixelOffsetAt, static_cast<std::int32_t>(pixelsAt - ArrayHeaderSize));
    return bitmap;
}

}  // namespace pictarium
