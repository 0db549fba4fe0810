#include "imaging/decoders/icon_decoder.h"

#include "imaging/core/bmp_decoder.h"
#include "imaging/core/byte_reader.h"

#include <QByteArray>

#include <cstdint>

namespace pictarium {

namespace {

constexpr qsizetype DirectoryEntrySize = 16;
constexpr qsizetype BitmapFileHeaderSize = 14;
const QByteArrayView PngSignature("\x89PNG\r\n\x1A\n", 8);

struct Entry {
    std::int64_t pixels = 0;
    int bits = 0;
    qsizetype offset = 0;
    qsizetype size = 0;
};

// The entry with the most pixels, the deepest of those.
Entry largestEntry(QByteArrayView bytes) {
    ByteReader reader(bytes);
    requireValid(reader.u16le() == 0);
    const std::uint16_t type = reader.u16le();
    requireValid(type == 1 || type == 2);
    const int count = reader.u16le();
    requireValid(count > 0);
    Entry best;
    for (int i = 0; i < count; ++i) {
        const QByteArrayView fields = reader.take(DirectoryEntrySize);
        const int width = static_cast<unsigned char>(fields[0]) == 0
                              ? 256
                              : static_cast<unsigned char>(fields[0]);
        const int height = static_cast<unsigned char>(fields[1]) == 0
                               ? 256
                               : static_cast<unsigned char>(fields[1]);
        Entry entry{std::int64_t{width} * height, getUint16(fields.data() + 6),
                    static_cast<qsizetype>(getUint32(fields.data() + 12)),
                    static_cast<qsizetype>(getUint32(fields.data() + 8))};
        if (entry.pixels > best.pixels || (entry.pixels == best.pixels && entry.bits > best.bits)) {
            best = entry;
        }
    }
    requireValid(best.offset > 0 && best.size > 0 && best.offset <= bytes.size() &&
                 best.size <= bytes.size() - best.offset);
    return best;
}

struct DibLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // of the picture: half the header's
    int bits = 0;
    qsizetype pixelsAt = 0;  // in the DIB
    qsizetype xorRowBytes = 0;
};

DibLayout layoutOf(QByteArrayView dib) {
    ByteReader reader(dib);
    const std::uint32_t headerSize = reader.u32le();
    requireValid(headerSize >= 40 && headerSize <= 124 && headerSize <= dib.size());
    DibLayout layout;
    layout.width = static_cast<std::int32_t>(reader.u32le());
    layout.height = static_cast<std::int32_t>(reader.u32le()) / 2;
    reader.skip(2);
    layout.bits = reader.u16le();
    const std::uint32_t compression = reader.u32le();
    reader.skip(12);
    const std::uint32_t coloursUsed = reader.u32le();
    requireValid(layout.width > 0 && layout.height > 0);
    requireWithinPixelLimit(layout.width, layout.height);
    std::int64_t palette = 0;
    if (layout.bits <= 8) {
        palette = 4 * std::int64_t{coloursUsed != 0 ? coloursUsed : 1U << layout.bits};
    } else if (compression == 3 && headerSize == 40) {
        palette = 12;  // the masks follow the header
    }
    requireValid(palette <= dib.size());
    layout.pixelsAt = static_cast<qsizetype>(headerSize + palette);
    layout.xorRowBytes = static_cast<qsizetype>((layout.width * layout.bits + 31) / 32 * 4);
    return layout;
}

// The colour image: the DIB with a file header, its height halved.
QImage colourImage(QByteArrayView dib, const DibLayout& layout) {
    QByteArray file =
        QByteArray("BM") + QByteArray(8, '\0') + QByteArray(4, '\0') + dib.toByteArray();
    putInt32(file.data() + 10, static_cast<std::int32_t>(BitmapFileHeaderSize + layout.pixelsAt));
    putInt32(file.data() + BitmapFileHeaderSize + 8, static_cast<std::int32_t>(layout.height));
    QImage picture = decodeBitmapFile(file);
    requireValid(!picture.isNull());
    return picture.convertToFormat(QImage::Format_ARGB32);
}

// A 32-bit image may carry its own alpha; all of it zero means it does not.
bool applyAlphaBytes(QByteArrayView dib, const DibLayout& layout, QImage& picture) {
    if (layout.bits != 32) {
        return false;
    }
    const auto* pixels = reinterpret_cast<const unsigned char*>(dib.data() + layout.pixelsAt);
    bool anyAlpha = false;
    for (std::int64_t row = 0; row < layout.height && !anyAlpha; ++row) {
        for (std::int64_t x = 0; x < layout.width && !anyAlpha; ++x) {
            anyAlpha = pixels[row * layout.xorRowBytes + 4 * x + 3] != 0;
        }
    }
    if (!anyAlpha) {
        return false;
    }
    for (std::int64_t row = 0; row < layout.height; ++row) {
        auto* line =
            reinterpret_cast<QRgb*>(picture.scanLine(static_cast<int>(layout.height - 1 - row)));
        for (std::int64_t x = 0; x < layout.width; ++x) {
            const int alpha = pixels[row * layout.xorRowBytes + 4 * x + 3];
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), alpha);
        }
    }
    return true;
}

// The AND mask after the colour rows: a set bit is a transparent pixel.
void applyMask(QByteArrayView dib, const DibLayout& layout, QImage& picture) {
    const qsizetype maskRowBytes = static_cast<qsizetype>((layout.width + 31) / 32 * 4);
    const qsizetype maskAt = layout.pixelsAt + layout.xorRowBytes * layout.height;
    if (maskAt + maskRowBytes * layout.height > dib.size()) {
        return;  // an icon without its mask is opaque
    }
    const auto* mask = reinterpret_cast<const unsigned char*>(dib.data() + maskAt);
    for (std::int64_t row = 0; row < layout.height; ++row) {
        auto* line =
            reinterpret_cast<QRgb*>(picture.scanLine(static_cast<int>(layout.height - 1 - row)));
        const unsigned char* bits = mask + row * maskRowBytes;
        for (std::int64_t x = 0; x < layout.width; ++x) {
            if ((bits[x / 8] & (0x80 >> (x % 8))) != 0) {
                line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
}

QImage decode(QByteArrayView bytes) {
    const Entry entry = largestEntry(bytes);
    // Some writers state less than the image holds: it is read as far as it
    // needs, up to the file's end.
    const QByteArrayView image = bytes.sliced(entry.offset);
    if (image.startsWith(PngSignature)) {
        const QImage png = QImage::fromData(image.toByteArray(), "PNG");
        requireValid(!png.isNull());
        requireWithinPixelLimit(png.width(), png.height());
        return png;
    }
    const DibLayout layout = layoutOf(image);
    QImage picture = colourImage(image, layout);
    if (!applyAlphaBytes(image, layout, picture)) {
        applyMask(image, layout, picture);
    }
    return picture;
}

}  // namespace

QImage decodeIcon(QByteArrayView bytes) {
    try {
        return decode(bytes);
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
