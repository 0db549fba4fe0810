#include "imaging/core/bitmap_extent.h"

#include "imaging/core/bitmap_codec.h"
#include "imaging/core/dib_geometry.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pictarium {

namespace {

constexpr std::int64_t kSmallestHeaders = DibGeometry::FileHeaderSize + 12;

// Walks the codes of run-length pixels to the end-of-picture code. Runs and
// row ends carry no length; an absolute run is padded to two bytes.
std::optional<std::int64_t> runLengthEnd(QByteArrayView file, const DibGeometry& geometry) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    std::int64_t at = geometry.pixelsAt;
    while (at + 2 <= file.size()) {
        const int count = bytes[at];
        const int code = bytes[at + 1];
        at += 2;
        if (count != 0) {
            continue;
        }
        if (code == 1) {
            return at;
        }
        if (code == 2) {
            at += 2;
        } else if (code > 2) {
            const std::int64_t stored =
                geometry.compression == DibGeometry::Rle8 ? code : (code + 1) / 2;
            at += (stored + 1) / 2 * 2;
        }
    }
    return std::nullopt;
}

bool hasPictureGeometry(const DibGeometry& geometry) {
    constexpr std::array<std::int64_t, 7> depths = {1, 2, 4, 8, 16, 24, 32};
    const bool knownDepth =
        std::find(depths.begin(), depths.end(), geometry.bitsPerPixel) != depths.end();
    return knownDepth && geometry.width > 0 && geometry.height > 0 &&
           isWithinPixelLimit(geometry.width, geometry.height) &&
           geometry.pixelsAt >= kSmallestHeaders;
}

}  // namespace

std::optional<std::int64_t> bitmapFileLength(QByteArrayView file) {
    DibGeometry geometry;
    if (!readGeometry(file, geometry) || !hasPictureGeometry(geometry)) {
        return std::nullopt;
    }
    if (geometry.hasRawPixels()) {
        return geometry.pixelsAt + geometry.rowBytes() * geometry.height;
    }
    if (geometry.compression == DibGeometry::Rle8 || geometry.compression == DibGeometry::Rle4) {
        return runLengthEnd(file, geometry);
    }
    return std::nullopt;
}

QImage pictureFromCutBitmapFile(QByteArray file) {
    DibGeometry geometry;
    if (!readGeometry(file, geometry) || !hasPictureGeometry(geometry) ||
        !geometry.hasRawPixels()) {
        return {};
    }
    const std::int64_t rowBytes = geometry.rowBytes();
    const std::int64_t wholeLength = geometry.pixelsAt + rowBytes * geometry.height;
    if (file.size() >= wholeLength) {
        return pictureFromBitmapFile(file);
    }
    const std::int64_t rowsHeld = (file.size() - geometry.pixelsAt) / rowBytes;
    if (file.size() < geometry.pixelsAt || rowsHeld < 1) {
        return {};
    }
    file.resize(wholeLength, '\0');
    QImage picture = pictureFromBitmapFile(file).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) {
        return {};
    }
    // A bottom-up file holds the bottom rows first, so its lost rows are
    // the top ones.
    const auto lost = static_cast<int>(geometry.height - rowsHeld);
    const int firstLost = geometry.topDown ? static_cast<int>(rowsHeld) : 0;
    for (int row = firstLost; row < firstLost + lost; ++row) {
        std::memset(picture.scanLine(row), 0xFF, static_cast<std::size_t>(picture.bytesPerLine()));
    }
    return picture;
}

}  // namespace pictarium
