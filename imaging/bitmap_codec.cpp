#include "imaging/bitmap_codec.h"

#include "base/byte_order.h"
#include "imaging/opaque_picture_p.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>

namespace pictarium {

namespace {

constexpr int kAllocationLimitMegabytes = 512;
constexpr qsizetype kFileHeaderSize = 14;
constexpr std::int32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
// A run-length code of two bytes gives at most 255 pixels.
constexpr std::int64_t kMaxPixelsPerRunByte = 128;

struct DibGeometry {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t bitsPerPixel = 0;
    std::uint32_t compression = kUncompressed;
};

bool readGeometry(QByteArrayView file, DibGeometry& geometry) {
    if (file.size() < kFileHeaderSize + 4) {
        return false;
    }
    const char* dib = file.constData() + kFileHeaderSize;
    const std::int32_t headerSize = getInt32(dib);
    if (headerSize == kCoreHeaderSize) {
        if (file.size() < kFileHeaderSize + kCoreHeaderSize) {
            return false;
        }
        geometry.width = getUint16(dib + 4);
        geometry.height = getUint16(dib + 6);
        geometry.bitsPerPixel = getUint16(dib + 10);
        return true;
    }
    if (headerSize < 16 || file.size() < kFileHeaderSize + 16) {
        return false;
    }
    geometry.width = getInt32(dib + 4);
    geometry.height = std::abs(std::int64_t{getInt32(dib + 8)});
    geometry.bitsPerPixel = getUint16(dib + 14);
    if (file.size() >= kFileHeaderSize + 20) {
        geometry.compression = static_cast<std::uint32_t>(getInt32(dib + 16));
    }
    return true;
}

// Refuses headers that would make the reader allocate a huge picture for
// a few bytes of data.
bool isPlausible(QByteArrayView file, std::int64_t fileSize) {
    DibGeometry geometry;
    if (!readGeometry(file, geometry) || geometry.width <= 0 || geometry.height <= 0) {
        return false;
    }
    if (geometry.width * geometry.height > MaxPicturePixels) {
        return false;
    }
    const bool rawPixels = geometry.compression == kUncompressed ||
                           geometry.compression == kBitFields ||
                           geometry.compression == kAlphaBitFields;
    if (!rawPixels) {
        return geometry.width * geometry.height <= kMaxPixelsPerRunByte * fileSize;
    }
    // The pixels start at the offset the file header gives; the last row
    // may lack its padding.
    const std::int64_t pixelsAt = getInt32(file.data() + 10);
    const std::int64_t rowBytes = (geometry.width * geometry.bitsPerPixel + 31) / 32 * 4;
    const std::int64_t lastRowBytes = (geometry.width * geometry.bitsPerPixel + 7) / 8;
    const std::int64_t needed = rowBytes * (geometry.height - 1) + lastRowBytes;
    return pixelsAt >= kFileHeaderSize && pixelsAt <= fileSize && needed <= fileSize - pixelsAt;
}

// Qt writes palettes for 1- and 8-bit pictures and 24 bits for RGB32.
QImage inWritableFormat(const QImage& picture) {
    switch (picture.format()) {
        case QImage::Format_Mono:
        case QImage::Format_MonoLSB:
        case QImage::Format_Indexed8:
        case QImage::Format_RGB32:
            return picture;
        default:
            return picture.convertToFormat(QImage::Format_RGB32);
    }
}

// A pixel that points past the end of its palette is black, whatever the
// reader left in the colour table there.
QImage withFullPalette(QImage picture) {
    const int depth = picture.depth();
    if (picture.isNull() || depth > 8 || picture.colorCount() >= (1 << depth)) {
        return picture;
    }
    QList<QRgb> colours = picture.colorTable();
    colours.resize(1 << depth, qRgb(0, 0, 0));
    picture.setColorTable(colours);
    return picture;
}

}  // namespace

void allowLargePictures() {
    if (QImageReader::allocationLimit() < kAllocationLimitMegabytes) {
        QImageReader::setAllocationLimit(kAllocationLimitMegabytes);
    }
}

QByteArray bitmapFileOf(const QImage& picture) {
    if (picture.isNull()) {
        return {};
    }
    const QImage writable = inWritableFormat(opaquePicture(picture));
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    if (writable.isNull() || !writable.save(&buffer, "BMP")) {
        return {};
    }
    return file;
}

void requireWithinPixelLimit(std::int64_t width, std::int64_t height) {
    if (width > MaxPicturePixels || height > MaxPicturePixels ||
        width * height > MaxPicturePixels) {
        throw PictureTooLarge{width, height};
    }
}

QString pixelLimitText(std::int64_t width, std::int64_t height) {
    return QStringLiteral("%1 × %2 pixels, au plus %3 (%4 mégapixels)")
        .arg(QString::number(width), QString::number(height), QString::number(MaxPicturePixels),
             QString::number(MaxPicturePixels / (1024 * 1024)));
}

void requireBitmapWithinPixelLimit(QByteArrayView file) {
    DibGeometry geometry;
    if (readGeometry(file, geometry)) {
        requireWithinPixelLimit(geometry.width, geometry.height);
    }
}

bool bitmapHeaderIsPlausible(QByteArrayView head, std::int64_t fileSize) {
    return isPlausible(head, fileSize);
}

QImage pictureFromBitmapFile(const QByteArray& file) {
    if (!isPlausible(file, file.size())) {
        return {};
    }
    return withFullPalette(QImage::fromData(file, "BMP"));
}

}  // namespace pictarium
