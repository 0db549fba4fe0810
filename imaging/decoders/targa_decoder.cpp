#include "imaging/decoders/targa_decoder.h"

#include "imaging/core/byte_reader.h"

#include <QList>

#include <cstdint>
#include <vector>

namespace pictarium {

namespace {

constexpr int ColourMapped = 1;
constexpr int TrueColour = 2;
constexpr int Grey = 3;
constexpr int RunLength = 8;  // added to the type of a run-length file
constexpr int RightToLeft = 0x10;
constexpr int TopToBottom = 0x20;
// A run packet gives at most 128 pixels from 1 + 4 bytes.
constexpr std::int64_t LargestExpansion = 128;

struct Header {
    int type = 0;
    bool encoded = false;
    int mapFirst = 0;
    int mapLength = 0;
    int mapEntryBits = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int depth = 0;
    int alphaBits = 0;
    bool rightToLeft = false;
    bool topToBottom = false;
};

Header readHeader(ByteReader& reader) {
    const int idLength = reader.u8();
    const int mapType = reader.u8();
    const int type = reader.u8();
    Header header;
    header.encoded = type > RunLength;
    header.type = header.encoded ? type - RunLength : type;
    header.mapFirst = reader.u16le();
    header.mapLength = reader.u16le();
    header.mapEntryBits = reader.u8();
    reader.skip(4);  // origin
    header.width = reader.u16le();
    header.height = reader.u16le();
    header.depth = reader.u8();
    const int descriptor = reader.u8();
    header.alphaBits = descriptor & 0x0F;
    header.rightToLeft = (descriptor & RightToLeft) != 0;
    header.topToBottom = (descriptor & TopToBottom) != 0;
    requireValid(header.type == ColourMapped || header.type == TrueColour || header.type == Grey);
    requireValid(mapType <= 1 && (header.type != ColourMapped || mapType == 1));
    if (header.type == ColourMapped) {
        requireValid(header.depth == 8 || header.depth == 16);
        requireValid(header.mapEntryBits == 15 || header.mapEntryBits == 16 ||
                     header.mapEntryBits == 24 || header.mapEntryBits == 32);
    } else if (header.type == TrueColour) {
        requireValid(header.depth == 15 || header.depth == 16 || header.depth == 24 ||
                     header.depth == 32);
    } else {
        requireValid(header.depth == 8 || header.depth == 16);
    }
    requireValid(header.width > 0 && header.height > 0);
    requireWithinPixelLimit(header.width, header.height);
    reader.skip(idLength);
    return header;
}

// One pixel of `bits` in the file's byte order, as a colour.
QRgb colourOf(const unsigned char* pixel, int bits, bool grey, bool withAlpha) {
    if (grey) {
        const int alpha = bits == 16 && withAlpha ? pixel[1] : 255;
        return qRgba(pixel[0], pixel[0], pixel[0], alpha);
    }
    switch (bits) {
        case 15:
        case 16: {
            const int value = pixel[0] | (pixel[1] << 8);
            const auto five = [](int v) { return (v * 255 + 15) / 31; };
            const int alpha = bits == 16 && withAlpha && (value & 0x8000) == 0 ? 0 : 255;
            return qRgba(five((value >> 10) & 31), five((value >> 5) & 31), five(value & 31),
                         alpha);
        }
        case 24:
            return qRgb(pixel[2], pixel[1], pixel[0]);
        default:
            return qRgba(pixel[2], pixel[1], pixel[0], withAlpha ? pixel[3] : 255);
    }
}

// A map in a file of another type is stepped over.
QList<QRgb> readColourMap(ByteReader& reader, const Header& header) {
    const int entryBytes = (header.mapEntryBits + 7) / 8;
    if (header.type != ColourMapped) {
        reader.skip(qsizetype{header.mapLength} * entryBytes);
        return {};
    }
    const QByteArrayView map = reader.take(qsizetype{header.mapLength} * entryBytes);
    QList<QRgb> colours(header.mapFirst + header.mapLength, qRgb(0, 0, 0));
    const auto* bytes = reinterpret_cast<const unsigned char*>(map.data());
    for (int i = 0; i < header.mapLength; ++i) {
        colours[header.mapFirst + i] =
            colourOf(bytes + i * entryBytes, header.mapEntryBits, false, header.alphaBits > 0);
    }
    return colours;
}

// The pixels in file order, run-length packets undone.
QByteArray readPixels(ByteReader& reader, const Header& header, int pixelBytes) {
    const qsizetype wanted = static_cast<qsizetype>(header.width * header.height) * pixelBytes;
    if (!header.encoded) {
        const QByteArrayView plain = reader.take(wanted);
        return QByteArray::fromRawData(plain.data(), plain.size());
    }
    requireValid(wanted <= reader.remaining() * LargestExpansion);
    QByteArray pixels;
    pixels.reserve(wanted);
    while (pixels.size() < wanted) {
        const int packet = reader.u8();
        const int count = (packet & 0x7F) + 1;
        if ((packet & 0x80) != 0) {
            const QByteArrayView pixel = reader.take(pixelBytes);
            for (int i = 0; i < count; ++i) {
                pixels.append(pixel);
            }
        } else {
            pixels.append(reader.take(qsizetype{count} * pixelBytes));
        }
    }
    pixels.truncate(wanted);
    return pixels;
}

QImage decode(QByteArrayView bytes) {
    ByteReader reader(bytes);
    const Header header = readHeader(reader);
    const QList<QRgb> colours = readColourMap(reader, header);
    const int pixelBytes = (header.depth + 7) / 8;
    const QByteArray pixels = readPixels(reader, header, pixelBytes);
    const bool withAlpha = header.alphaBits > 0;
    const bool grey = header.type == Grey;
    const bool greyAlpha = grey && header.depth == 16 && withAlpha;
    const bool hasAlpha = withAlpha && (greyAlpha || header.depth == 32 || header.depth == 16 ||
                                        header.type == ColourMapped);
    QImage picture = allocatePicture(header.width, header.height,
                                     hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const auto* data = reinterpret_cast<const unsigned char*>(pixels.constData());
    const auto width = static_cast<int>(header.width);
    const auto height = static_cast<int>(header.height);
    for (int row = 0; row < height; ++row) {
        const int y = header.topToBottom ? row : height - 1 - row;
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int column = 0; column < width; ++column) {
            const int x = header.rightToLeft ? width - 1 - column : column;
            const unsigned char* pixel =
                data + (static_cast<qsizetype>(row) * width + column) * pixelBytes;
            if (header.type == ColourMapped) {
                const int index = header.depth == 8 ? pixel[0] : pixel[0] | (pixel[1] << 8);
                line[x] = index < colours.size() ? colours[index] : qRgb(0, 0, 0);
            } else {
                line[x] = colourOf(pixel, header.depth, grey, withAlpha);
            }
        }
    }
    return picture;
}

}  // namespace

QImage decodeTarga(QByteArrayView bytes) {
    try {
        return decode(bytes);
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
