#include "imaging/decoders/photoshop_decoder.h"

#include "imaging/core/byte_reader.h"
#include "imaging/decoders/pack_bits_p.h"

#include <QList>

#include <cstdint>
#include <cstring>
#include <vector>

namespace pictarium {

namespace {

enum Mode : std::uint16_t {
    BitmapMode = 0,
    GreyMode = 1,
    IndexedMode = 2,
    RgbMode = 3,
    CmykMode = 4,
    DuotoneMode = 8,
};

constexpr std::uint16_t RawData = 0;
constexpr std::uint16_t PackBitsData = 1;
constexpr qsizetype PaletteBytes = 768;
// Two bytes of PackBits give at most 128.
constexpr qsizetype LargestExpansion = 64;

struct Header {
    int channels = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int depth = 0;
    std::uint16_t mode = 0;
};

int channelsUsed(std::uint16_t mode) {
    switch (mode) {
        case RgbMode:
            return 3;
        case CmykMode:
            return 4;
        default:
            return 1;
    }
}

Header readHeader(ByteReader& reader) {
    requireValid(reader.take(4) == "8BPS" && reader.u16be() == 1);
    reader.skip(6);
    Header header;
    header.channels = reader.u16be();
    header.height = reader.u32be();
    header.width = reader.u32be();
    header.depth = reader.u16be();
    header.mode = reader.u16be();
    const bool knownMode = header.mode == BitmapMode || header.mode == GreyMode ||
                           header.mode == IndexedMode || header.mode == RgbMode ||
                           header.mode == CmykMode || header.mode == DuotoneMode;
    requireValid(knownMode && header.channels >= channelsUsed(header.mode));
    requireValid(header.mode == BitmapMode ? header.depth == 1
                                           : header.depth == 8 || header.depth == 16);
    requireValid(header.mode != IndexedMode || header.depth == 8);
    requireValid(header.width > 0 && header.height > 0);
    requireWithinPixelLimit(header.width, header.height);
    return header;
}

// The planes of the channels used, one after the other, row by row.
QByteArray readPlanes(ByteReader& reader, const Header& header, qsizetype rowBytes) {
    const std::uint16_t compression = reader.u16be();
    requireValid(compression == RawData || compression == PackBitsData);
    const int used = channelsUsed(header.mode);
    const qsizetype rows = used * static_cast<qsizetype>(header.height);
    const qsizetype wanted = rows * rowBytes;
    if (compression == RawData) {
        // Read in place: the caller's bytes outlive the decode.
        const QByteArrayView raw = reader.take(wanted);
        return QByteArray::fromRawData(raw.data(), raw.size());
    }
    // The lengths of every row of every channel come first.
    const qsizetype allRows = header.channels * static_cast<qsizetype>(header.height);
    requireValid(allRows * 2 <= reader.remaining() &&
                 wanted <= reader.remaining() * LargestExpansion);
    std::vector<qsizetype> lengths(static_cast<std::size_t>(allRows));
    for (qsizetype& length : lengths) {
        length = reader.u16be();
    }
    QByteArray planes(wanted, '\0');
    for (qsizetype row = 0; row < rows; ++row) {
        const QByteArray unpacked =
            unpackBits(reader.take(lengths[static_cast<std::size_t>(row)]), rowBytes);
        std::memcpy(planes.data() + row * rowBytes, unpacked.constData(),
                    static_cast<std::size_t>(rowBytes));
    }
    return planes;
}

QList<QRgb> paletteOf(QByteArrayView modeData, std::uint16_t mode) {
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i) {
        if (mode == IndexedMode) {
            colours[i] = qRgb(static_cast<unsigned char>(modeData[i]),
                              static_cast<unsigned char>(modeData[256 + i]),
                              static_cast<unsigned char>(modeData[512 + i]));
        } else {
            colours[i] = qRgb(i, i, i);
        }
    }
    return colours;
}

QImage decode(QByteArrayView bytes) {
    ByteReader reader(bytes);
    const Header header = readHeader(reader);
    const QByteArrayView modeData = reader.take(reader.u32be());
    requireValid(header.mode != IndexedMode || modeData.size() >= PaletteBytes);
    reader.skip(reader.u32be());  // image resources
    reader.skip(reader.u32be());  // layers and masks
    const qsizetype rowBytes = static_cast<qsizetype>((header.width * header.depth + 7) / 8);
    const QByteArray planes = readPlanes(reader, header, rowBytes);
    const auto width = static_cast<int>(header.width);
    const auto height = static_cast<int>(header.height);
    const qsizetype planeBytes = rowBytes * height;
    // 16-bit samples are big-endian: their first byte is the 8-bit value.
    const int step = header.depth / 8;
    const auto sample = [&](int channel, int x, int y) {
        return static_cast<unsigned char>(planes[channel * planeBytes + y * rowBytes + x * step]);
    };
    if (header.mode == BitmapMode) {
        QImage picture = allocatePicture(width, height, QImage::Format_Mono);
        picture.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        for (int y = 0; y < height; ++y) {
            std::memcpy(picture.scanLine(y), planes.constData() + y * rowBytes,
                        static_cast<std::size_t>(rowBytes));
        }
        return picture;
    }
    if (channelsUsed(header.mode) == 1) {
        QImage picture = allocatePicture(width, height, QImage::Format_Indexed8);
        picture.setColorTable(paletteOf(modeData, header.mode));
        for (int y = 0; y < height; ++y) {
            uchar* line = picture.scanLine(y);
            for (int x = 0; x < width; ++x) {
                line[x] = sample(0, x, y);
            }
        }
        return picture;
    }
    QImage picture = allocatePicture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (header.mode == RgbMode) {
                line[x] = qRgb(sample(0, x, y), sample(1, x, y), sample(2, x, y));
                continue;
            }
            // CMYK is stored inverted: 255 is no ink.
            const int black = sample(3, x, y);
            line[x] = qRgb(sample(0, x, y) * black / 255, sample(1, x, y) * black / 255,
                           sample(2, x, y) * black / 255);
        }
    }
    return picture;
}

}  // namespace

QImage decodePhotoshop(QByteArrayView bytes) {
    try {
        return decode(bytes);
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
