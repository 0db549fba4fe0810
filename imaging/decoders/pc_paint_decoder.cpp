#include "imaging/decoders/pc_paint_decoder.h"

#include "imaging/core/byte_reader.h"
#include "imaging/decoders/pc_palettes_p.h"

#include <QList>

#include <algorithm>
#include <cstring>

namespace pictarium {

namespace {

enum PaletteKind : std::uint16_t { NoPalette = 0, CgaPalette = 1, EgaPalette = 3 };

struct PixelLayout {
    int bitsPerPixel = 0;  // per plane
    int planes = 0;
};

PixelLayout layoutOf(std::uint8_t planeInfo) {
    switch (planeInfo) {
        case 0x01:
            return {1, 1};
        case 0x02:
            return {2, 1};
        case 0x04:
            return {4, 1};
        case 0x08:
            return {8, 1};
        case 0x31:
            return {1, 4};
        default:
            throw MalformedPicture{};
    }
}

QList<QRgb> defaultPalette(int colourCount) {
    switch (colourCount) {
        case 2:
            return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
        case 4:
            return {PcStandardColours[0], PcStandardColours[11], PcStandardColours[13],
                    PcStandardColours[15]};
        case 16:
            return QList<QRgb>(PcStandardColours.begin(), PcStandardColours.end());
        default:
            return greyRamp(colourCount);
    }
}

// CGA: the first byte picks the palette (bit 0: cyan, magenta, white rather
// than green, red, brown; bit 1: bright), the second the background.
QList<QRgb> cgaPalette(QByteArrayView data) {
    const std::uint8_t choice = data.size() > 0 ? static_cast<std::uint8_t>(data[0]) : 1;
    const std::uint8_t background = data.size() > 1 ? static_cast<std::uint8_t>(data[1]) : 0;
    const int bright = (choice & 2) ? 8 : 0;
    const int first = (choice & 1) ? 3 : 2;
    return {PcStandardColours[background & 0x0F], PcStandardColours[first + bright],
            PcStandardColours[first + 2 + bright], PcStandardColours[first + 4 + bright]};
}

QList<QRgb> egaPalette(QByteArrayView data, int colourCount) {
    QList<QRgb> colours = defaultPalette(colourCount);
    for (int i = 0; i < colourCount && i < data.size(); ++i) {
        colours[i] = egaColour(static_cast<std::uint8_t>(data[i]));
    }
    return colours;
}

// Red, green, blue triples, normally VGA's 0-63 levels; some writers
// stored full bytes, which shows as a value above 63.
QList<QRgb> rgbPalette(QByteArrayView data, int colourCount) {
    QList<QRgb> colours = defaultPalette(colourCount);
    const qsizetype entries = std::min<qsizetype>(colourCount, data.size() / 3);
    const bool fullBytes = std::any_of(data.begin(), data.begin() + 3 * entries,
                                       [](char c) { return static_cast<std::uint8_t>(c) > 63; });
    const auto level = [fullBytes](char c) {
        const auto value = static_cast<std::uint8_t>(c);
        return fullBytes ? int{value} : scaleSixBits(value);
    };
    for (qsizetype i = 0; i < entries; ++i) {
        colours[i] = qRgb(level(data[3 * i]), level(data[3 * i + 1]), level(data[3 * i + 2]));
    }
    return colours;
}

QList<QRgb> paletteOf(std::uint16_t kind, QByteArrayView data, int colourCount) {
    switch (kind) {
        case NoPalette:
            return defaultPalette(colourCount);
        case CgaPalette:
            return colourCount == 4 ? cgaPalette(data) : defaultPalette(colourCount);
        case EgaPalette:
            return egaPalette(data, colourCount);
        default:
            return rgbPalette(data, colourCount);
    }
}

// Packed blocks: each has its packed size (with its 5-byte header), its
// unpacked size and a marker byte; the marker is followed by a count (or 0
// and a 16-bit count) and the byte to repeat. Output past `total` is cut.
QByteArray unpackBlocks(ByteReader& reader, int blockCount, qsizetype total) {
    QByteArray pixels;
    pixels.reserve(total);
    for (int block = 0; block < blockCount; ++block) {
        const qsizetype packedSize = reader.u16le();
        (void)reader.u16le();  // unpacked size: the runs say it again
        const char marker = static_cast<char>(reader.u8());
        requireValid(packedSize >= 5);
        ByteReader packed(reader.take(packedSize - 5));
        while (!packed.atEnd() && pixels.size() < total) {
            const char value = static_cast<char>(packed.u8());
            if (value != marker) {
                pixels.append(value);
                continue;
            }
            qsizetype count = packed.u8();
            if (count == 0) {
                count = packed.u16le();
            }
            const char repeated = static_cast<char>(packed.u8());
            pixels.append(std::min(count, total - pixels.size()), repeated);
        }
    }
    requireValid(pixels.size() == total);
    return pixels;
}

// Rows are stored bottom up; 4-plane pictures store each plane whole.
void storePixels(QImage& picture, const QByteArray& pixels, PixelLayout layout,
                 qsizetype rowBytes) {
    const int height = picture.height();
    const qsizetype planeBytes = rowBytes * height;
    for (int y = 0; y < height; ++y) {
        const qsizetype stored = qsizetype{height - 1 - y} * rowBytes;
        uchar* row = picture.scanLine(y);
        if (layout.bitsPerPixel == 1 && layout.planes == 1) {
            std::memcpy(row, pixels.constData() + stored, rowBytes);
            continue;
        }
        const int perByte = 8 / layout.bitsPerPixel;
        const int mask = (1 << layout.bitsPerPixel) - 1;
        for (int x = 0; x < picture.width(); ++x) {
            const int shift = (perByte - 1 - x % perByte) * layout.bitsPerPixel;
            int index = 0;
            for (int plane = 0; plane < layout.planes; ++plane) {
                const auto byte =
                    static_cast<uchar>(pixels[plane * planeBytes + stored + x / perByte]);
                index |= ((byte >> shift) & mask) << plane;
            }
            row[x] = static_cast<uchar>(index);
        }
    }
}

}  // namespace

QImage decodePcPaintPicture(QByteArrayView bytes) {
    try {
        ByteReader reader(bytes);
        requireValid(reader.u16le() == 0x1234);
        const int width = reader.u16le();
        const int height = reader.u16le();
        reader.skip(4);  // screen position
        const PixelLayout layout = layoutOf(reader.u8());
        requireValid(reader.u8() == 0xFF);
        (void)reader.u8();  // video mode
        const std::uint16_t paletteKind = reader.u16le();
        const QByteArrayView paletteData = reader.take(reader.u16le());
        const int blockCount = reader.u16le();

        const int colourCount = 1 << (layout.bitsPerPixel * layout.planes);
        const bool monochrome = colourCount == 2;
        QImage picture = allocatePicture(
            width, height, monochrome ? QImage::Format_Mono : QImage::Format_Indexed8);
        picture.setColorTable(paletteOf(paletteKind, paletteData, colourCount));

        const qsizetype rowBytes = (qsizetype{width} * layout.bitsPerPixel + 7) / 8;
        const qsizetype total = rowBytes * height * layout.planes;
        const QByteArray pixels = blockCount == 0 ? reader.take(total).toByteArray()
                                                  : unpackBlocks(reader, blockCount, total);
        storePixels(picture, pixels, layout, rowBytes);
        return picture;
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
