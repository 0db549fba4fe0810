#include "imaging/decoders/gem_image_decoder.h"

#include "imaging/core/byte_reader.h"
#include "imaging/decoders/pc_palettes_p.h"

#include <QList>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace pictarium {

namespace {

struct GemHeader {
    qsizetype headerBytes = 0;
    int planes = 0;
    qsizetype patternLength = 0;
    int width = 0;
    int height = 0;
};

GemHeader readHeader(QByteArrayView bytes) {
    ByteReader reader(bytes);
    GemHeader header;
    (void)reader.u16be();  // version: writers disagree, so it is not checked
    header.headerBytes = 2 * qsizetype{reader.u16be()};
    header.planes = reader.u16be();
    header.patternLength = reader.u16be();
    reader.skip(4);  // pixel size in microns
    header.width = reader.u16be();
    header.height = reader.u16be();
    requireValid(header.headerBytes >= 16 && header.headerBytes <= bytes.size());
    requireValid(header.planes >= 1 && header.planes <= 8);
    requireValid(header.patternLength >= 1 && header.patternLength <= 8);
    return header;
}

// Image Alchemy's reading of 3- and 4-plane files without a palette.
constexpr std::array<QRgb, 16> GemColours = {
    0xFFFFFFFF, 0xFF00FFFF, 0xFFFF00FF, 0xFFFFFF00, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFC0C0C0,
    0xFF808080, 0xFF008080, 0xFF800080, 0xFF808000, 0xFF000080, 0xFF008000, 0xFF800000, 0xFF000000};
constexpr std::array<QRgb, 8> GemColours3 = {0xFFFFFFFF, 0xFF00FFFF, 0xFFFF00FF, 0xFFFFFF00,
                                             0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF000000};

QList<QRgb> paletteOf(QByteArrayView bytes, const GemHeader& header) {
    const int colourCount = 1 << header.planes;
    const bool extended = header.headerBytes >= 22 && bytes.sliced(16, 4) == QByteArrayView("XIMG");
    if (extended && header.headerBytes >= 22 + 6 * qsizetype{colourCount}) {
        ByteReader reader(bytes, 20);
        requireValid(reader.u16be() == 0);  // RGB colour model
        QList<QRgb> colours;
        const auto level = [&reader] {
            return (std::min<int>(reader.u16be(), 1000) * 255 + 500) / 1000;
        };
        for (int i = 0; i < colourCount; ++i) {
            const int red = level();
            const int green = level();
            colours.append(qRgb(red, green, level()));
        }
        return colours;
    }
    if (header.planes == 1) {
        return {qRgb(255, 255, 255), qRgb(0, 0, 0)};  // a set bit is ink
    }
    if (header.planes == 3) {
        return QList<QRgb>(GemColours3.begin(), GemColours3.end());
    }
    if (header.planes == 4) {
        return QList<QRgb>(GemColours.begin(), GemColours.end());
    }
    QList<QRgb> ramp = greyRamp(colourCount);
    std::reverse(ramp.begin(), ramp.end());  // 0 is paper white
    return ramp;
}

// Decodes one plane of one line. A "00 00 FF n" item sets how many times
// the whole line repeats; runs past the line's end are cut.
void unpackPlaneLine(ByteReader& reader, const GemHeader& header, char* line, qsizetype lineBytes,
                     int& repeat) {
    qsizetype filled = 0;
    const auto append = [&](const char* data, qsizetype count) {
        const qsizetype written = std::min(count, lineBytes - filled);
        std::memcpy(line + filled, data, written);
        filled += written;
    };
    while (filled < lineBytes) {
        const std::uint8_t code = reader.u8();
        if (code == 0x00) {
            const int count = reader.u8();
            if (count == 0) {
                requireValid(reader.u8() == 0xFF);
                repeat = std::max<int>(reader.u8(), 1);
                continue;
            }
            const QByteArrayView pattern = reader.take(header.patternLength);
            for (int i = 0; i < count && filled < lineBytes; ++i) {
                append(pattern.data(), pattern.size());
            }
        } else if (code == 0x80) {
            const QByteArrayView literal = reader.take(reader.u8());
            append(literal.data(), literal.size());
        } else {
            const qsizetype count = std::min<qsizetype>(code & 0x7F, lineBytes - filled);
            std::memset(line + filled, (code & 0x80) ? 0xFF : 0x00, count);
            filled += count;
        }
    }
}

void storeLine(QImage& picture, int y, const std::vector<char>& planes, qsizetype lineBytes,
               int planeCount) {
    uchar* row = picture.scanLine(y);
    if (planeCount == 1) {
        std::memcpy(row, planes.data(), lineBytes);
        return;
    }
    for (int x = 0; x < picture.width(); ++x) {
        const int byte = x / 8;
        const int shift = 7 - x % 8;
        int index = 0;
        for (int plane = 0; plane < planeCount; ++plane) {
            index |= ((planes[plane * lineBytes + byte] >> shift) & 1) << plane;
        }
        row[x] = static_cast<uchar>(index);
    }
}

}  // namespace

QImage decodeGemImage(QByteArrayView bytes) {
    try {
        const GemHeader header = readHeader(bytes);
        const QImage::Format format =
            header.planes == 1 ? QImage::Format_Mono : QImage::Format_Indexed8;
        QImage picture = allocatePicture(header.width, header.height, format);
        picture.setColorTable(paletteOf(bytes, header));

        const qsizetype lineBytes = (qsizetype{header.width} + 7) / 8;
        std::vector<char> planes(lineBytes * header.planes);
        ByteReader reader(bytes, header.headerBytes);
        int y = 0;
        while (y < header.height) {
            int repeat = 1;
            for (int plane = 0; plane < header.planes; ++plane) {
                unpackPlaneLine(reader, header, planes.data() + plane * lineBytes, lineBytes,
                                repeat);
            }
            for (int i = 0; i < repeat && y < header.height; ++i, ++y) {
                storeLine(picture, y, planes, lineBytes, header.planes);
            }
        }
        return picture;
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
