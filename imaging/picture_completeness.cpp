#include "imaging/picture_completeness_p.h"

#include "imaging/core/byte_reader.h"
#include "imaging/core/dib_geometry.h"

#include <cstdlib>

namespace pictarium {

namespace {

constexpr qsizetype FileHeaderSize = 14;

// Walks run-length codes: a count and a colour, or 0 and an escape (end
// of line, end of bitmap, a move, or a word-aligned literal run).
bool endsWithEndOfBitmap(ByteReader& reader, bool fourBits) {
    while (true) {
        const std::uint8_t count = reader.u8();
        const std::uint8_t value = reader.u8();
        if (count != 0) {
            continue;
        }
        if (value == 1) {
            return true;
        }
        if (value == 2) {
            reader.skip(2);
        } else if (value > 2) {
            const qsizetype bytes = fourBits ? (value + 1) / 2 : value;
            reader.skip(bytes + bytes % 2);
        }
    }
}

void skipSubBlocks(ByteReader& reader) {
    for (std::uint8_t length = reader.u8(); length != 0; length = reader.u8()) {
        reader.skip(length);
    }
}

qsizetype colourTableBytes(std::uint8_t flags) {
    return (flags & 0x80) ? 3 * (qsizetype{2} << (flags & 0x07)) : 0;
}

// WordPerfect's variable-length sizes: one byte, or FF and 15 bits, or
// FF, a 15-bit high part with its top bit set, and a 16-bit low part.
qsizetype wordPerfectLength(ByteReader& reader) {
    const std::uint8_t first = reader.u8();
    if (first != 0xFF) {
        return first;
    }
    const std::uint16_t high = reader.u16le();
    if ((high & 0x8000) == 0) {
        return high;
    }
    return (qsizetype{high & 0x7FFF} << 16) | reader.u16le();
}

// An extension, an image or the trailer.
bool isGifBlock(char introducer) {
    const auto byte = static_cast<std::uint8_t>(introducer);
    return byte == 0x21 || byte == 0x2C || byte == 0x3B;
}

}  // namespace

bool isCompleteBitmap(QByteArrayView bytes) {
    try {
        ByteReader header(bytes, 10);
        const qsizetype pixelOffset = header.u32le();
        const std::uint32_t infoSize = header.u32le();
        std::int64_t width = 0;
        std::int64_t height = 0;
        int bits = 0;
        std::uint32_t compression = 0;
        if (infoSize == 12) {
            width = header.u16le();
            height = header.u16le();
            header.skip(2);
            bits = header.u16le();
        } else {
            width = static_cast<std::int32_t>(header.u32le());
            height = std::abs(std::int64_t{static_cast<std::int32_t>(header.u32le())});
            header.skip(2);
            bits = header.u16le();
            compression = header.u32le();
        }
        requireValid(pixelOffset >= FileHeaderSize && pixelOffset <= bytes.size());
        if (compression == DibGeometry::Rle8 || compression == DibGeometry::Rle4) {
            ByteReader pixels(bytes, pixelOffset);
            return endsWithEndOfBitmap(pixels, compression == DibGeometry::Rle4);
        }
        // An embedded JPEG or PNG stream (or OS/2's run-length 24 bits):
        // its own decoder finds where it ends.
        if (compression == DibGeometry::Jpeg || compression == DibGeometry::Png) {
            return pixelOffset < bytes.size();
        }
        if (width <= 0 || bits <= 0 || bits > 64) {
            return false;
        }
        // Divided rather than multiplied: a hostile header overflows the product.
        const std::int64_t rowBytes = (width * bits + 31) / 32 * 4;
        return height <= (bytes.size() - pixelOffset) / rowBytes;
    } catch (const MalformedPicture&) {
        return false;
    }
}

bool isCompleteGif(QByteArrayView bytes) {
    try {
        ByteReader reader(bytes, 10);
        const std::uint8_t screenFlags = reader.u8();
        reader.skip(2 + colourTableBytes(screenFlags));
        bool hasWholeImage = false;
        while (true) {
            // Some writers leave out the trailer after the last whole image,
            // or follow it with bytes of their own (another file's start).
            if (hasWholeImage && (reader.atEnd() || !isGifBlock(bytes[reader.position()]))) {
                return true;
            }
            const std::uint8_t introducer = reader.u8();
            if (introducer == 0x3B) {
                return true;
            }
            if (introducer == 0x21) {
                reader.skip(1);  // extension label
                skipSubBlocks(reader);
                continue;
            }
            requireValid(introducer == 0x2C);
            reader.skip(8);
            const std::uint8_t imageFlags = reader.u8();
            reader.skip(colourTableBytes(imageFlags) + 1);  // table, LZW code size
            skipSubBlocks(reader);
            hasWholeImage = true;
        }
    } catch (const MalformedPicture&) {
        return false;
    }
}

bool isCompleteJpeg(QByteArrayView bytes) {
    try {
        ByteReader reader(bytes, 2);
        while (true) {
            // Bytes before a marker are stepped over, as libjpeg does with a
            // warning (Photoshop leaves some after its segments).
            while (reader.u8() != 0xFF) {
            }
            std::uint8_t marker = reader.u8();
            while (marker == 0xFF) {  // fill bytes
                marker = reader.u8();
            }
            if (marker == 0xDA) {
                break;
            }
            if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
                continue;
            }
            requireValid(marker != 0xD9);
            const std::uint16_t length = reader.u16be();
            requireValid(length >= 2);
            reader.skip(length - 2);
        }
        // Entropy-coded data never holds FF D9: its FF bytes are stuffed.
        const qsizetype scanStart = reader.position();
        return bytes.lastIndexOf(QByteArrayView("\xFF\xD9", 2)) >= scanStart;
    } catch (const MalformedPicture&) {
        return false;
    }
}

bool isCompleteMacPaint(QByteArrayView bytes) {
    constexpr qsizetype PageBytes = 72 * 720;
    const bool macBinary = bytes.size() > 128 && bytes.sliced(65, 4) == QByteArrayView("PNTG");
    try {
        ByteReader reader(bytes, macBinary ? 640 : 512);
        qsizetype unpacked = 0;
        while (unpacked < PageBytes) {
            const std::uint8_t code = reader.u8();
            if (code < 128) {
                reader.skip(code + 1);
                unpacked += code + 1;
            } else if (code > 128) {
                reader.skip(1);
                unpacked += 257 - code;
            }
        }
        return true;
    } catch (const MalformedPicture&) {
        return false;
    }
}

bool isCompleteWordPerfect(QByteArrayView bytes) {
    constexpr std::uint8_t Bitmap1 = 0x0B;
    constexpr std::uint8_t Bitmap2 = 0x14;
    constexpr std::uint8_t Level2Bitmap = 0x0E;
    constexpr std::uint8_t PostScript1 = 0x11;
    constexpr std::uint8_t PostScript2 = 0x12;  // 0x1B is a bitmap's rectangle
    try {
        ByteReader header(bytes, 4);
        const qsizetype dataOffset = header.u32le();
        header.skip(2);
        const bool level2 = header.u16le() == 2;
        ByteReader reader(bytes, dataOffset);
        bool hasBitmap = false;
        while (!reader.atEnd()) {
            if (level2) {
                reader.skip(1);  // record class
            }
            const std::uint8_t type = reader.u8();
            if (level2) {
                (void)wordPerfectLength(reader);  // extension
            }
            const qsizetype length = wordPerfectLength(reader);
            reader.skip(length);
            if (type == (level2 ? PostScript2 : PostScript1)) {
                return false;
            }
            hasBitmap = hasBitmap || type == (level2 ? Level2Bitmap : Bitmap1) ||
                        (!level2 && type == Bitmap2);
        }
        return hasBitmap;
    } catch (const MalformedPicture&) {
        return false;
    }
}

}  // namespace pictarium
