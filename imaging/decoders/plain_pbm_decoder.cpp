#include "imaging/decoders/plain_pbm_decoder.h"

#include "imaging/core/byte_reader.h"

#include <cstdint>

namespace pictarium {

namespace {

constexpr std::int64_t LargestSide = 1 << 20;

// Reads characters, stepping over blanks and "#" comments to line ends.
class PlainReader {
public:
    explicit PlainReader(QByteArrayView bytes) : mBytes(bytes) {}

    char next() {
        skipBlanks();
        requireValid(mAt < mBytes.size());
        return mBytes[mAt++];
    }

    std::int64_t number() {
        char digit = next();
        requireValid(digit >= '0' && digit <= '9');
        std::int64_t value = 0;
        while (true) {
            value = value * 10 + (digit - '0');
            requireValid(value <= LargestSide);
            if (mAt >= mBytes.size() || mBytes[mAt] < '0' || mBytes[mAt] > '9') {
                return value;
            }
            digit = mBytes[mAt++];
        }
    }

private:
    void skipBlanks() {
        while (mAt < mBytes.size()) {
            const char c = mBytes[mAt];
            if (c == '#') {
                while (mAt < mBytes.size() && mBytes[mAt] != '\n' && mBytes[mAt] != '\r') {
                    ++mAt;
                }
            } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
                ++mAt;
            } else {
                return;
            }
        }
    }

    QByteArrayView mBytes;
    qsizetype mAt = 0;
};

QImage decode(QByteArrayView bytes) {
    requireValid(bytes.startsWith("P1"));
    PlainReader reader(bytes.sliced(2));
    const std::int64_t width = reader.number();
    const std::int64_t height = reader.number();
    requireValid(width > 0 && height > 0);
    requireWithinPixelLimit(width, height);
    // Every bit is at least one character: nothing is allocated for more
    // pixels than the file can hold.
    requireValid(width * height <= bytes.size());
    QImage picture = allocatePicture(width, height, QImage::Format_Mono);
    picture.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    picture.fill(0);
    for (int y = 0; y < picture.height(); ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            const char bit = reader.next();
            requireValid(bit == '0' || bit == '1');
            if (bit == '1') {
                line[x / 8] = static_cast<uchar>(line[x / 8] | (0x80 >> (x % 8)));
            }
        }
    }
    return picture;
}

}  // namespace

QImage decodePlainPbm(QByteArrayView bytes) {
    try {
        return decode(bytes);
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
