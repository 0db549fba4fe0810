#include "imaging/picture_orientation_p.h"

#include "imaging/core/byte_reader.h"

#include <QTransform>

namespace pictarium {

namespace {

constexpr std::uint16_t OrientationTag = 0x0112;
constexpr std::uint16_t ShortType = 3;

int orientationOfDirectory(QByteArrayView exif) {
    ByteReader header(exif);
    const QByteArrayView order = header.take(2);
    requireValid(order == "II" || order == "MM");
    const bool bigEndian = order == "MM";
    const auto u16 = [bigEndian](ByteReader& reader) {
        return bigEndian ? reader.u16be() : reader.u16le();
    };
    const auto u32 = [bigEndian](ByteReader& reader) {
        return bigEndian ? reader.u32be() : reader.u32le();
    };
    requireValid(u16(header) == 42);
    const std::uint32_t directory = u32(header);
    requireValid(directory <= std::uint32_t(exif.size()));
    ByteReader entries(exif, qsizetype(directory));
    for (int count = u16(entries); count > 0; --count) {
        const std::uint16_t tag = u16(entries);
        const std::uint16_t type = u16(entries);
        const std::uint32_t values = u32(entries);
        const std::uint16_t value = u16(entries);
        entries.skip(2);
        if (tag == OrientationTag) {
            return type == ShortType && values == 1 && value >= 1 && value <= 8 ? value : 1;
        }
    }
    return 1;
}

}  // namespace

int exifOrientation(QByteArrayView exif) {
    // Some writers keep the "Exif\0\0" that leads the block in a JPEG.
    if (exif.startsWith(QByteArrayView("Exif\0\0", 6))) {
        exif = exif.sliced(6);
    }
    try {
        return orientationOfDirectory(exif);
    } catch (const MalformedPicture&) {
        return 1;
    }
}

QByteArrayView webpExif(QByteArrayView webp) {
    constexpr qsizetype FirstChunk = 12;  // after "RIFF", the size and "WEBP"
    // The chunks: type, little-endian length, data padded to an even length.
    for (qsizetype at = FirstChunk; at + 8 <= webp.size();) {
        const qsizetype length = getUint32(webp.data() + at + 4);
        if (length > webp.size() - at - 8) {
            return {};
        }
        if (webp.sliced(at, 4) == "EXIF") {
            return webp.sliced(at + 8, length);
        }
        at += 8 + length + length % 2;
    }
    return {};
}

QImage uprightPicture(const QImage& picture, int orientation) {
    // Turned a quarter clockwise, then mirrored for 5 and 7.
    switch (orientation) {
        case 2:
            return picture.mirrored(true, false);
        case 3:
            return picture.mirrored(true, true);
        case 4:
            return picture.mirrored(false, true);
        case 5:
            return picture.transformed(QTransform().rotate(90)).mirrored(true, false);
        case 6:
            return picture.transformed(QTransform().rotate(90));
        case 7:
            return picture.transformed(QTransform().rotate(90)).mirrored(false, true);
        case 8:
            return picture.transformed(QTransform().rotate(270));
        default:
            return picture;
    }
}

}  // namespace pictarium
