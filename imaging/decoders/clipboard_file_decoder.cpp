#include "imaging/decoders/clipboard_file_decoder.h"

#include "imaging/core/bitmap_codec.h"
#include "imaging/core/byte_reader.h"
#include "imaging/decoders/pc_palettes_p.h"

#include <QList>

#include <algorithm>
#include <cstring>
#include <optional>

namespace pictarium {

namespace {

constexpr std::uint16_t Windows3Signature = 0xC350;
constexpr std::uint16_t LastNtSignature = 0xC352;
constexpr qsizetype Windows3EntrySize = 89;  // 16-bit id, length, offset, 79-byte name
constexpr qsizetype NtEntrySize = 172;       // 32-bit id, length, offset, UTF-16 name

enum ClipboardFormat : std::uint32_t {
    DeviceBitmap = 2,
    Dib = 8,
    Palette = 9,
    DibVersion5 = 17,
};

struct Entries {
    std::optional<QByteArrayView> dib;
    std::optional<QByteArrayView> deviceBitmap;
    std::optional<QByteArrayView> palette;
};

Entries readDirectory(QByteArrayView bytes) {
    ByteReader reader(bytes);
    const std::uint16_t signature = reader.u16le();
    requireValid(signature >= Windows3Signature && signature <= LastNtSignature);
    const bool windows3 = signature == Windows3Signature;
    const int count = reader.u16le();
    Entries entries;
    for (int i = 0; i < count; ++i) {
        ByteReader entry(reader.take(windows3 ? Windows3EntrySize : NtEntrySize));
        const std::uint32_t format = windows3 ? entry.u16le() : entry.u32le();
        const qsizetype length = entry.u32le();
        const qsizetype offset = entry.u32le();
        requireValid(offset <= bytes.size() && length <= bytes.size() - offset);
        const QByteArrayView data = bytes.sliced(offset, length);
        if (format == Dib || (format == DibVersion5 && !entries.dib)) {
            entries.dib = data;
        } else if (format == DeviceBitmap && windows3) {
            entries.deviceBitmap = data;
        } else if (format == Palette) {
            entries.palette = data;
        }
    }
    return entries;
}

qsizetype colourTableBytes(ByteReader header, std::uint32_t headerSize) {
    if (headerSize == 12) {  // OS/2 core header: 3-byte colours
        header.skip(6);
        const int bits = header.u16le();
        return bits <= 8 ? 3 * (qsizetype{1} << bits) : 0;
    }
    header.skip(10);
    const int bits = header.u16le();
    const std::uint32_t compression = header.u32le();
    header.skip(12);
    const qsizetype used = header.u32le();
    qsizetype masks = 0;
    if (headerSize == 40 && compression == 3) {
        masks = 12;
    } else if (headerSize == 40 && compression == 6) {
        masks = 16;
    }
    const qsizetype colours = used != 0 ? used : (bits <= 8 ? qsizetype{1} << bits : 0);
    requireValid(colours <= 256);
    return masks + 4 * colours;
}

QList<QRgb> savedPalette(std::optional<QByteArrayView> data) {
    if (!data) {
        return {};
    }
    ByteReader reader(*data);
    (void)reader.u16le();  // LOGPALETTE version
    const int count = std::min<int>(reader.u16le(), 256);
    QList<QRgb> colours;
    for (int i = 0; i < count; ++i) {
        const int red = reader.u8();
        const int green = reader.u8();
        const int blue = reader.u8();
        (void)reader.u8();  // flags
        colours.append(qRgb(red, green, blue));
    }
    return colours;
}

QList<QRgb> deviceBitmapPalette(int bits, const QList<QRgb>& saved) {
    const int colourCount = 1 << bits;
    if (!saved.isEmpty()) {
        QList<QRgb> colours = saved.first(std::min<qsizetype>(saved.size(), colourCount));
        colours.resize(colourCount, qRgb(0, 0, 0));
        return colours;
    }
    if (bits == 1) {
        return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    }
    requireValid(bits == 4);  // a 256-colour bitmap means nothing without its palette
    return QList<QRgb>(PcStandardColours.begin(), PcStandardColours.end());
}

// A Windows 3 BITMAP structure followed by its rows, top down.
QImage decodeDeviceBitmap(QByteArrayView data, const QList<QRgb>& saved) {
    ByteReader reader(data);
    (void)reader.u16le();  // bmType
    const int width = reader.u16le();
    const int height = reader.u16le();
    const qsizetype stride = reader.u16le();
    const int planes = reader.u8();
    const int bits = reader.u8();
    reader.skip(4);  // bmBits, a pointer in the saving process
    requireValid(planes == 1 && (bits == 1 || bits == 4 || bits == 8 || bits == 24));
    requireValid(stride * 8 >= qsizetype{width} * bits);

    QImage::Format format = QImage::Format_Indexed8;
    if (bits == 1) {
        format = QImage::Format_Mono;
    } else if (bits == 24) {
        format = QImage::Format_BGR888;
    }
    QImage picture = allocatePicture(width, height, format);
    if (bits <= 8) {
        picture.setColorTable(deviceBitmapPalette(bits, saved));
    }
    const qsizetype usedBytes = (qsizetype{width} * bits + 7) / 8;
    for (int y = 0; y < height; ++y) {
        const QByteArrayView row = reader.take(stride);
        uchar* line = picture.scanLine(y);
        if (bits != 4) {
            std::memcpy(line, row.data(), usedBytes);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const auto byte = static_cast<uchar>(row[x / 2]);
            line[x] = (x % 2 == 0) ? byte >> 4 : byte & 0x0F;
        }
    }
    return picture;
}

}  // namespace

QImage decodePackedDib(QByteArrayView dib) {
    try {
        ByteReader header(dib);
        const std::uint32_t headerSize = header.u32le();
        requireValid(headerSize == 12 || (headerSize >= 40 && headerSize <= 124));
        const qsizetype pixelOffset = 14 + headerSize + colourTableBytes(header, headerSize);
        QByteArray file;
        file.reserve(14 + dib.size());
        file.append("BM", 2);
        const auto appendLe32 = [&file](qsizetype value) {
            for (int i = 0; i < 4; ++i) {
                file.append(static_cast<char>((value >> (8 * i)) & 0xFF));
            }
        };
        appendLe32(14 + dib.size());
        appendLe32(0);
        appendLe32(pixelOffset);
        file.append(dib.data(), dib.size());
        return pictureFromBitmapFile(file);
    } catch (const MalformedPicture&) {
        return {};
    }
}

QImage decodeClipboardFile(QByteArrayView bytes) {
    try {
        const Entries entries = readDirectory(bytes);
        if (entries.dib) {
            return decodePackedDib(*entries.dib);
        }
        requireValid(entries.deviceBitmap.has_value());
        return decodeDeviceBitmap(*entries.deviceBitmap, savedPalette(entries.palette));
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
