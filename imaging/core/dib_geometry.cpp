#include "imaging/core/dib_geometry.h"

#include "base/byte_order.h"

#include <cstdlib>

namespace pictarium {

namespace {

constexpr std::int32_t kCoreHeaderSize = 12;

}  // namespace

bool isWindowsInfoHeaderSize(std::int64_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool isKnownBitDepth(int bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32 || bits == 64;
}

bool readGeometry(QByteArrayView file, DibGeometry& geometry) {
    constexpr qsizetype fileHeader = DibGeometry::FileHeaderSize;
    if (file.size() < fileHeader + 4) {
        return false;
    }
    geometry.pixelsAt = getInt32(file.constData() + 10);
    const char* dib = file.constData() + fileHeader;
    const std::int32_t headerSize = getInt32(dib);
    if (headerSize == kCoreHeaderSize) {
        if (file.size() < fileHeader + kCoreHeaderSize) {
            return false;
        }
        geometry.width = getUint16(dib + 4);
        geometry.height = getUint16(dib + 6);
        geometry.bitsPerPixel = getUint16(dib + 10);
        return true;
    }
    if (headerSize < 16 || file.size() < fileHeader + 16) {
        return false;
    }
    geometry.width = getInt32(dib + 4);
    const std::int32_t height = getInt32(dib + 8);
    geometry.height = std::abs(std::int64_t{height});
    geometry.topDown = height < 0;
    geometry.bitsPerPixel = getUint16(dib + 14);
    if (file.size() >= fileHeader + 20) {
        geometry.compression = static_cast<std::uint32_t>(getInt32(dib + 16));
    }
    return true;
}

}  // namespace pictarium
