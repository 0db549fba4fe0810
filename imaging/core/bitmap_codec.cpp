#include "imaging/core/bitmap_codec.h"

#include "base/byte_order.h"
#include "imaging/core/bmp_decoder.h"
#include "imaging/core/dib_geometry.h"
#include "imaging/core/opaque_picture.h"

#include <QBuffer>
#include <QImageReader>

namespace pictarium {

namespace {

constexpr int kAllocationLimitMegabytes = 512;
// A run-length code of two bytes gives at most 255 pixels.
constexpr std::int64_t kMaxPixelsPerRunByte = 128;

// Refuses headers that would make the reader allocate a huge picture for
// a few bytes of data.
bool isPlausible(QByteArrayView file, std::int64_t fileSize) {
    DibGeometry geometry;
    if (!readGeometry(file, geometry) || geometry.width <= 0 || geometry.height <= 0) {
        return false;
    }
    if (!isWithinPixelLimit(geometry.width, geometry.height)) {
        return false;
    }
    if (!geometry.hasRawPixels()) {
        return geometry.width * geometry.height <= kMaxPixelsPerRunByte * fileSize;
    }
    // The pixels start at the offset the file header gives; the last row
    // may lack its padding.
    const std::int64_t pixelsAt = geometry.pixelsAt;
    const std::int64_t lastRowBytes = (geometry.width * geometry.bitsPerPixel + 7) / 8;
    const std::int64_t needed = geometry.rowBytes() * (geometry.height - 1) + lastRowBytes;
    return pixelsAt >= DibGeometry::FileHeaderSize && pixelsAt <= fileSize &&
           needed <= fileSize - pixelsAt;
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
    return decodeBitmapFile(file);
}

QByteArray withFileSizeField(QByteArray file) {
    constexpr qsizetype SizeFieldEnd = 6;
    if (file.size() < SizeFieldEnd) {
        return file;
    }
    const auto size = static_cast<std::uint32_t>(file.size());
    for (int i = 0; i < 4; ++i) {
        file[2 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    }
    return file;
}

}  // namespace pictarium
