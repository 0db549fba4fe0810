#include "imaging/picture_format_p.h"

#include "base/byte_order.h"
#include "imaging/core/dib_geometry.h"

#include <QChar>

#include <algorithm>
#include <cstdint>

namespace pictarium {

namespace {

bool hasAt(QByteArrayView head, qsizetype offset, QByteArrayView signature) {
    return head.size() >= offset + signature.size() &&
           head.sliced(offset, signature.size()) == signature;
}

// Fields past the end of what the file holds read as zero.
std::uint8_t byteAt(QByteArrayView head, qsizetype offset) {
    return offset < head.size() ? static_cast<std::uint8_t>(head[offset]) : 0;
}

std::uint16_t le16(QByteArrayView head, qsizetype offset) {
    return head.size() >= offset + 2 ? getUint16(head.data() + offset) : 0;
}

std::uint16_t be16(QByteArrayView head, qsizetype offset) {
    return head.size() >= offset + 2 ? getUint16Be(head.data() + offset) : 0;
}

std::uint32_t le32(QByteArrayView head, qsizetype offset) {
    return head.size() >= offset + 4 ? getUint32(head.data() + offset) : 0;
}

bool isBitmap(QByteArrayView head) {
    const qsizetype start = hasAt(head, 0, "BA") ? DibGeometry::BitmapArrayHeaderSize : 0;
    const std::uint32_t infoSize = le32(head, start + 14);
    return hasAt(head, start, "BM") && infoSize >= 12 && infoSize <= 124;
}

// A bitmap without its file header, as a clipboard DIB saved to a file
// is: a Windows info header whose fields make sense.
bool isPackedDib(QByteArrayView head) {
    const auto width = static_cast<std::int32_t>(le32(head, 4));
    const auto height = static_cast<std::int32_t>(le32(head, 8));
    return isWindowsInfoHeaderSize(le32(head, 0)) && width > 0 && height != 0 &&
           le16(head, 12) == 1 && isKnownBitDepth(le16(head, 14)) &&
           le32(head, 16) <= DibGeometry::AlphaBitFields;
}

bool isIcon(QByteArrayView head) {
    const std::uint16_t type = le16(head, 2);
    return le16(head, 0) == 0 && (type == 1 || type == 2) && le16(head, 4) > 0 && head.size() >= 22;
}

bool isMetafile(QByteArrayView head) {
    if (hasAt(head, 0, "\xD7\xCD\xC6\x9A")) {
        return true;  // placeable
    }
    const std::uint16_t type = le16(head, 0);
    const std::uint16_t version = le16(head, 4);
    return (type == 1 || type == 2) && le16(head, 2) == 9 &&
           (version == 0x0100 || version == 0x0300);
}

bool isPcx(QByteArrayView head) {
    const std::uint8_t version = byteAt(head, 1);
    const std::uint8_t bits = byteAt(head, 3);
    return byteAt(head, 0) == 0x0A && version <= 5 && version != 1 && byteAt(head, 2) <= 1 &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8) && head.size() >= 128;
}

// QuickDraw pictures start with their size and frame, then the version
// opcode; files add a 512-byte header in front.
bool isPict(QByteArrayView head) {
    for (const qsizetype offset : {qsizetype{522}, qsizetype{10}}) {
        if (hasAt(head, offset, QByteArrayView("\x00\x11\x02\xFF", 4)) ||
            hasAt(head, offset, QByteArrayView("\x11\x01", 2))) {
            return true;
        }
    }
    return false;
}

bool isGemImage(QByteArrayView head) {
    const std::uint16_t version = be16(head, 0);
    const std::uint16_t headerWords = be16(head, 2);
    const std::uint16_t planes = be16(head, 4);
    const std::uint16_t pattern = be16(head, 6);
    return (version == 1 || version == 2) && headerWords >= 8 && headerWords <= 0x800 &&
           planes >= 1 && planes <= 8 && pattern >= 1 && pattern <= 8 && be16(head, 12) > 0 &&
           be16(head, 14) > 0;
}

bool isImageBrand(QByteArrayView brand) {
    for (const char* image : {"heic", "heix", "heim", "heis", "hevc", "hevx", "hevm", "hevs",
                              "mif1", "msf1", "avif", "avis"}) {
        if (brand == image) {
            return true;
        }
    }
    return false;
}

// HEIF and AVIF files are ISO media: an "ftyp" box of a major brand, a
// minor version, then compatible brands up to the box's end.
bool isHeif(QByteArrayView head) {
    if (!hasAt(head, 4, "ftyp") || head.size() < 12) {
        return false;
    }
    if (isImageBrand(head.sliced(8, 4))) {
        return true;
    }
    const qsizetype boxEnd = std::min<qsizetype>(getUint32Be(head.data()), head.size());
    for (qsizetype at = 16; at + 4 <= boxEnd; at += 4) {
        if (isImageBrand(head.sliced(at, 4))) {
            return true;
        }
    }
    return false;
}

bool isCals(QByteArrayView head) {
    return hasAt(head, 0, "srcdocid:") || hasAt(head, 0, "rtype:") ||
           hasAt(head, 0, "version: MIL-STD-1840") || hasAt(head, 0, "rorient:");
}

}  // namespace

PictureFormat sniffPictureFormat(QByteArrayView head) {
    if (hasAt(head, 0, "\xFF\xD8\xFF")) {
        return PictureFormat::Jpeg;
    }
    if (hasAt(head, 0, "\x89PNG\r\n\x1A\n")) {
        return PictureFormat::Png;
    }
    if (hasAt(head, 0, QByteArrayView("II*\0", 4)) || hasAt(head, 0, QByteArrayView("MM\0*", 4)) ||
        hasAt(head, 0, QByteArrayView("II+\0", 4)) || hasAt(head, 0, QByteArrayView("MM\0+", 4))) {
        return PictureFormat::Tiff;
    }
    if (hasAt(head, 0, "GIF87a") || hasAt(head, 0, "GIF89a")) {
        return PictureFormat::Gif;
    }
    if (hasAt(head, 0, "RIFF") && hasAt(head, 8, "WEBP")) {
        return PictureFormat::WebP;
    }
    if (isHeif(head)) {
        return PictureFormat::Heif;
    }
    if (isBitmap(head)) {
        return PictureFormat::Bitmap;
    }
    if (isPackedDib(head)) {
        return PictureFormat::PackedDib;
    }
    if (hasAt(head, 0, QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))) {
        return PictureFormat::FlashPix;  // the only compound file among the formats
    }
    if (hasAt(head, 0, "8BPS")) {
        return PictureFormat::Photoshop;
    }
    if (hasAt(head, 0, "\x01\xDA")) {
        return PictureFormat::SiliconGraphics;
    }
    if (hasAt(head, 0, "\x59\xA6\x6A\x95")) {
        return PictureFormat::SunRaster;
    }
    if (hasAt(head, 0, "\xB1\x68\xDE\x3A")) {
        return PictureFormat::MultiPagePcx;
    }
    if (hasAt(head, 0, "\xFFWPC")) {
        return PictureFormat::WordPerfect;
    }
    if (hasAt(head, 2048, "PCD_")) {
        return PictureFormat::PhotoCd;
    }
    if (hasAt(head, 0, "%!PS") || hasAt(head, 0, "\xC5\xD0\xD3\xC6")) {
        return PictureFormat::PostScript;
    }
    if (hasAt(head, 0, "DanM") || hasAt(head, 0, "LinS")) {
        return PictureFormat::MicrosoftPaint;
    }
    if (le16(head, 0) == 0x1234 && byteAt(head, 11) == 0xFF) {
        return PictureFormat::PcPaint;
    }
    if (const std::uint16_t id = le16(head, 0); id >= 0xC350 && id <= 0xC352) {
        return PictureFormat::ClipboardFile;
    }
    if (le32(head, 0) == 1 && hasAt(head, 40, " EMF")) {
        return PictureFormat::EnhancedMetafile;
    }
    if (isMetafile(head)) {
        return PictureFormat::Metafile;
    }
    if (isIcon(head)) {
        return PictureFormat::Icon;
    }
    if (head.size() >= 3 && head[0] == 'P' && head[1] >= '1' && head[1] <= '6' &&
        QChar::isSpace(head[2])) {
        return PictureFormat::PortableAnymap;
    }
    if (isCals(head)) {
        return PictureFormat::Cals;
    }
    if (hasAt(head, 80, "CT")) {
        return PictureFormat::Scitex;
    }
    if (isPict(head)) {
        return PictureFormat::Pict;
    }
    if (isPcx(head)) {
        return PictureFormat::Pcx;
    }
    if (isGemImage(head)) {
        return PictureFormat::GemImage;
    }
    return PictureFormat::Unknown;
}

PictureFormat formatWithoutSignature(const QString& extension) {
    if (extension == QLatin1String("TGA")) {
        return PictureFormat::Targa;
    }
    if (extension == QLatin1String("MAC")) {
        return PictureFormat::MacPaint;
    }
    if (extension == QLatin1String("CUT")) {
        return PictureFormat::DrHalo;
    }
    // Some programs write bytes of their own before the JPEG stream.
    for (const char* jpeg : {"JPG", "JPEG", "JPE", "JFIF", "JFF"}) {
        if (extension == QLatin1String(jpeg)) {
            return PictureFormat::Jpeg;
        }
    }
    return PictureFormat::Unknown;
}

bool hasDeepTransparentColour(QByteArrayView png) {
    constexpr qsizetype BitDepthAt = 8 + 8 + 8;
    return png.size() > BitDepthAt + 1 && static_cast<unsigned char>(png[BitDepthAt]) == 16 &&
           hasChunkBeforePixels(png, "tRNS");
}

bool hasChunkBeforePixels(QByteArrayView png, QByteArrayView chunkType) {
    constexpr qsizetype FirstChunk = 8;
    // The chunks: length, type, data, checksum.
    for (qsizetype at = FirstChunk; at + 8 <= png.size();) {
        const QByteArrayView type = png.sliced(at + 4, 4);
        if (type == chunkType) {
            return true;
        }
        if (type == "IDAT") {
            return false;
        }
        at += 12 + qsizetype{getUint32Be(png.data() + at)};
    }
    return false;
}

qsizetype jpegStreamStart(QByteArrayView bytes) {
    constexpr qsizetype Searched = 64 * 1024;
    const QByteArrayView startOfImage("\xFF\xD8\xFF", 3);
    return bytes.first(std::min(bytes.size(), Searched)).indexOf(startOfImage);
}

}  // namespace pictarium
