#include "imaging/decoders/sun_raster_decoder.h"

#include "imaging/core/byte_reader.h"

#include <QList>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pictarium {

namespace {

constexpr std::uint32_t Magic = 0x59A66A95;
constexpr std::uint32_t OldType = 0;
constexpr std::uint32_t StandardType = 1;
constexpr std::uint32_t EncodedType = 2;
constexpr std::uint32_t RgbType = 3;
constexpr std::uint32_t NoMap = 0;
constexpr std::uint32_t RgbMap = 1;
constexpr int RunEscape = 0x80;

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;
    int depth = 0;
    std::uint32_t type = 0;
    std::uint32_t mapType = 0;
    std::int64_t mapLength = 0;
};

Header readHeader(ByteReader& reader) {
    requireValid(reader.u32be() == Magic);
    Header header;
    header.width = reader.u32be();
    header.height = reader.u32be();
    header.depth = static_cast<int>(reader.u32be());
    (void)reader.u32be();  // the data's length, 0 in old files
    header.type = reader.u32be();
    header.mapType = reader.u32be();
    header.mapLength = reader.u32be();
    requireValid(header.depth == 1 || header.depth == 4 || header.depth == 8 ||
                 header.depth == 24 || header.depth == 32);
    requireValid(header.type == OldType || header.type == StandardType ||
                 header.type == EncodedType || header.type == RgbType);
    requireValid(header.mapType == NoMap || header.mapType == RgbMap);
    return header;
}

// The map holds all its reds, then its greens, then its blues. Without
// one, one bit is black on white and eight bits are grey.
QList<QRgb> readColourMap(ByteReader& reader, const Header& header) {
    const QByteArrayView map = reader.take(header.mapLength);
    if (header.depth > 8) {
        return {};
    }
    const qsizetype full = qsizetype{1} << header.depth;
    QList<QRgb> colours(full, qRgb(0, 0, 0));
    if (header.mapType == RgbMap && map.size() >= 3) {
        const qsizetype count = std::min(full, map.size() / 3);
        const qsizetype third = map.size() / 3;
        for (qsizetype i = 0; i < count; ++i) {
            colours[i] =
                qRgb(static_cast<unsigned char>(map[i]), static_cast<unsigned char>(map[third + i]),
                     static_cast<unsigned char>(map[2 * third + i]));
        }
        return colours;
    }
    if (header.depth == 1) {
        return {qRgb(255, 255, 255), qRgb(0, 0, 0)};
    }
    for (qsizetype i = 0; i < full; ++i) {
        const int level = static_cast<int>(i * 255 / (full - 1));
        colours[i] = qRgb(level, level, level);
    }
    return colours;
}

// The run-length code: 0x80 0 is one 0x80; 0x80 n v is n + 1 times v;
// any other byte is itself.
QByteArray decodeRuns(ByteReader& reader, qsizetype wanted) {
    QByteArray bytes;
    while (bytes.size() < wanted) {
        const int byte = reader.u8();
        if (byte != RunEscape) {
            bytes.append(static_cast<char>(byte));
            continue;
        }
        const int count = reader.u8();
        if (count == 0) {
            bytes.append(static_cast<char>(RunEscape));
            continue;
        }
        const char value = static_cast<char>(reader.u8());
        bytes.append(std::min<qsizetype>(count + 1, wanted - bytes.size()), value);
    }
    return bytes;
}

QImage::Format formatOf(int depth) {
    if (depth == 1) {
        return QImage::Format_Mono;
    }
    return depth <= 8 ? QImage::Format_Indexed8 : QImage::Format_RGB32;
}

void decodeRow(const unsigned char* row, const Header& header, uchar* line) {
    const auto width = static_cast<int>(header.width);
    switch (header.depth) {
        case 1:
            std::memcpy(line, row, static_cast<std::size_t>((width + 7) / 8));
            return;
        case 4:
            for (int x = 0; x < width; ++x) {
                line[x] = static_cast<uchar>(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
            }
            return;
        case 8:
            std::memcpy(line, row, static_cast<std::size_t>(width));
            return;
        default: {
            // 32 bits lead each pixel with a byte that is not colour.
            const int step = header.depth / 8;
            const int first = step - 3;
            const bool rgb = header.type == RgbType;
            auto* pixels = reinterpret_cast<QRgb*>(line);
            for (int x = 0; x < width; ++x) {
                const unsigned char* pixel = row + x * step + first;
                pixels[x] =
                    rgb ? qRgb(pixel[0], pixel[1], pixel[2]) : qRgb(pixel[2], pixel[1], pixel[0]);
            }
            return;
        }
    }
}

QImage decode(QByteArrayView bytes) {
    ByteReader reader(bytes);
    const Header header = readHeader(reader);
    const QList<QRgb> colours = readColourMap(reader, header);
    // Rows are padded to 16 bits.
    requireValid(header.width > 0 && header.height > 0);
    requireWithinPixelLimit(header.width, header.height);
    const qsizetype rowBytes = (header.width * header.depth + 15) / 16 * 2;
    const qsizetype total = rowBytes * header.height;
    // Three bytes of runs give at most 256: nothing is allocated for a
    // header that promises more than the rest of the file can hold.
    constexpr qsizetype LargestExpansion = 86;
    const bool encoded = header.type == EncodedType;
    requireValid(total <= reader.remaining() * (encoded ? LargestExpansion : 1));
    QImage picture = allocatePicture(header.width, header.height, formatOf(header.depth));
    if (header.depth <= 8) {
        picture.setColorTable(colours);
    }
    const QByteArray unpacked = encoded ? decodeRuns(reader, total) : QByteArray();
    const QByteArrayView pixels = encoded ? QByteArrayView(unpacked) : reader.take(total);
    const auto* data = reinterpret_cast<const unsigned char*>(pixels.data());
    for (int y = 0; y < picture.height(); ++y) {
        decodeRow(data + y * rowBytes, header, picture.scanLine(y));
    }
    return picture;
}

}  // namespace

QImage decodeSunRaster(QByteArrayView bytes) {
    try {
        return decode(bytes);
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
