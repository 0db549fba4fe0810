#pragma once

#include "base/byte_order.h"
#include "imaging/core/bitmap_codec.h"

#include <QByteArrayView>
#include <QImage>

#include <cstdint>

namespace pictarium {

// Thrown inside our own decoders when a file is not what it claims to be;
// each decoder turns it into a null picture at its boundary.
struct MalformedPicture {};

inline void requireValid(bool condition) {
    if (!condition) {
        throw MalformedPicture{};
    }
}

// A picture of the given size, refused before allocation when it would
// exceed the pixel limit (PictureTooLarge) or when memory runs out.
[[nodiscard]] inline QImage allocatePicture(std::int64_t width, std::int64_t height,
                                            QImage::Format format) {
    requireValid(width > 0 && height > 0);
    requireWithinPixelLimit(width, height);
    QImage picture(static_cast<int>(width), static_cast<int>(height), format);
    requireValid(!picture.isNull());
    return picture;
}

// Reads integers and byte runs from a file's bytes, never past their end:
// a file cut short throws MalformedPicture instead.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView bytes, qsizetype position = 0)
        : mBytes(bytes), mPosition(position) {
        requireValid(position >= 0 && position <= bytes.size());
    }

    [[nodiscard]] std::uint8_t u8() {
        require(1);
        return static_cast<std::uint8_t>(mBytes[mPosition++]);
    }
    [[nodiscard]] std::uint16_t u16le() { return getUint16(take(2).data()); }
    [[nodiscard]] std::uint16_t u16be() { return getUint16Be(take(2).data()); }
    [[nodiscard]] std::uint32_t u32le() { return getUint32(take(4).data()); }
    [[nodiscard]] std::uint32_t u32be() { return getUint32Be(take(4).data()); }
    [[nodiscard]] QByteArrayView take(qsizetype count) {
        require(count);
        const QByteArrayView part = mBytes.sliced(mPosition, count);
        mPosition += count;
        return part;
    }
    void skip(qsizetype count) { (void)take(count); }

    [[nodiscard]] qsizetype position() const { return mPosition; }
    [[nodiscard]] qsizetype remaining() const { return mBytes.size() - mPosition; }
    [[nodiscard]] bool atEnd() const { return remaining() == 0; }

private:
    void require(qsizetype count) const { requireValid(count >= 0 && count <= remaining()); }

    QByteArrayView mBytes;
    qsizetype mPosition;
};

}  // namespace pictarium
