#include "imaging/decoders/pict_decoder.h"

#include "imaging/core/byte_reader.h"
#include "imaging/decoders/pack_bits_p.h"
#include "imaging/decoders/quickdraw_drawing_p.h"

#include <QList>
#include <QPainter>
#include <QRect>
#include <QTransform>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace pictarium {

namespace {

constexpr qsizetype FileHeaderSize = 512;
constexpr std::uint16_t EndOfPicture = 0x00FF;
constexpr std::uint16_t HeaderOpcode = 0x0C00;
constexpr std::int16_t ExtendedHeader = -2;
constexpr std::uint16_t BitsRect = 0x0090;
constexpr std::uint16_t BitsRegion = 0x0091;
constexpr std::uint16_t PackBitsRect = 0x0098;
constexpr std::uint16_t PackBitsRegion = 0x0099;
constexpr std::uint16_t DirectBitsRect = 0x009A;
constexpr std::uint16_t DirectBitsRegion = 0x009B;
constexpr std::uint16_t CompressedQuickTime = 0x8200;
constexpr std::uint16_t PixMapFlag = 0x8000;
constexpr std::uint16_t PenSize = 0x0007;
constexpr std::uint16_t FallbackMark = 0x00AE;
const QByteArrayView JpegStart("\xFF\xD8\xFF", 3);

struct Rect {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    [[nodiscard]] int width() const { return right - left; }
    [[nodiscard]] int height() const { return bottom - top; }
};

// Maps the coordinates of `from` onto the pixels of a page the size of `onto`.
QTransform pageMapping(const Rect& from, const Rect& onto) {
    QTransform mapping;
    mapping.scale(static_cast<double>(onto.width()) / from.width(),
                  static_cast<double>(onto.height()) / from.height());
    return mapping.translate(-from.left, -from.top);
}

Rect readRect(ByteReader& reader) {
    Rect rect;
    rect.top = static_cast<std::int16_t>(reader.u16be());
    rect.left = static_cast<std::int16_t>(reader.u16be());
    rect.bottom = static_cast<std::int16_t>(reader.u16be());
    rect.right = static_cast<std::int16_t>(reader.u16be());
    return rect;
}

// What a pixel map says of its pixels.
struct PixMap {
    Rect bounds;
    int rowBytes = 0;
    int packType = 0;
    int pixelSize = 1;
    int componentCount = 1;
    QList<QRgb> colours{qRgb(255, 255, 255), qRgb(0, 0, 0)};
};

void readPixMapFields(ByteReader& reader, PixMap& map) {
    map.bounds = readRect(reader);
    reader.skip(2);  // version
    map.packType = reader.u16be();
    reader.skip(4 + 4 + 4 + 2);  // packed size, resolutions, pixel type
    map.pixelSize = reader.u16be();
    map.componentCount = reader.u16be();
    reader.skip(2 + 4 + 4 + 4);  // component size, plane bytes, table, reserved
    requireValid(map.pixelSize == 1 || map.pixelSize == 2 || map.pixelSize == 4 ||
                 map.pixelSize == 8 || map.pixelSize == 16 || map.pixelSize == 32);
}

// Entries of 16-bit channels; their values are the indices unless the
// flags say that the entries are in order. Only indexed pixels (8 bits at
// most) look colours up; the table of a direct pixel map is read past.
QList<QRgb> readColourTable(ByteReader& reader, int pixelSize) {
    reader.skip(4);
    const bool inOrder = (reader.u16be() & 0x8000) != 0;
    const int count = reader.u16be() + 1;
    QList<QRgb> colours(qsizetype{1} << std::min(pixelSize, 8), qRgb(0, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int value = reader.u16be();
        const int red = reader.u16be() >> 8;
        const int green = reader.u16be() >> 8;
        const int blue = reader.u16be() >> 8;
        const int index = inOrder ? i : value;
        if (index >= 0 && index < colours.size()) {
            colours[index] = qRgb(red, green, blue);
        }
    }
    return colours;
}

// The rows of pixel data, each `rowLength` long once unpacked.
QList<QByteArray> readRows(ByteReader& reader, const PixMap& map, qsizetype rowLength, int unit,
                           bool packed) {
    QList<QByteArray> rows;
    const int height = map.bounds.height();
    for (int y = 0; y < height; ++y) {
        if (!packed) {
            rows.append(reader.take(rowLength).toByteArray());
            continue;
        }
        const qsizetype length = map.rowBytes > 250 ? reader.u16be() : reader.u8();
        rows.append(unpackBits(reader.take(length), rowLength, unit));
    }
    return rows;
}

QImage indexedPixels(ByteReader& reader, const PixMap& map, bool packed) {
    const int width = map.bounds.width();
    const QList<QByteArray> rows = readRows(reader, map, map.rowBytes, 1, packed);
    QImage picture = allocatePicture(width, map.bounds.height(), QImage::Format_Indexed8);
    picture.setColorTable(map.colours);
    const int perByte = 8 / map.pixelSize;
    const int mask = (1 << map.pixelSize) - 1;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(rows[y].constData());
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < width && x / perByte < map.rowBytes; ++x) {
            const int shift = (perByte - 1 - x % perByte) * map.pixelSize;
            line[x] = static_cast<uchar>((row[x / perByte] >> shift) & mask);
        }
    }
    return picture;
}

int fiveBits(int value) {
    return (value * 255 + 15) / 31;
}

QImage directPixels(ByteReader& reader, const PixMap& map) {
    const int width = map.bounds.width();
    const bool packed = map.rowBytes >= 8 && map.packType != 1 && map.packType != 2;
    QImage picture = allocatePicture(width, map.bounds.height(), QImage::Format_RGB32);
    if (map.pixelSize == 16) {
        const QList<QByteArray> rows =
            readRows(reader, map, packed ? qsizetype{2} * width : map.rowBytes, 2, packed);
        for (int y = 0; y < picture.height(); ++y) {
            requireValid(rows[y].size() >= qsizetype{2} * width);
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const int pixel = getUint16Be(rows[y].constData() + 2 * x);
                line[x] = qRgb(fiveBits((pixel >> 10) & 31), fiveBits((pixel >> 5) & 31),
                               fiveBits(pixel & 31));
            }
        }
        return picture;
    }
    // 32 bits: packed, one plane a component per row (alpha first when
    // there are four); plain, four bytes a pixel, or three with type 2.
    const int components = map.componentCount >= 4 ? 4 : 3;
    qsizetype rowLength = map.rowBytes;
    if (packed) {
        rowLength = qsizetype{components} * width;
    } else if (map.packType == 2) {
        rowLength = qsizetype{3} * width;  // the pad byte dropped
    }
    const QList<QByteArray> rows = readRows(reader, map, rowLength, 1, packed);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(rows[y].constData());
        requireValid(rows[y].size() >= rowLength &&
                     rowLength >= qsizetype{packed || map.packType == 2 ? 3 : 4} * width);
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (packed) {
                const int first = components - 3;
                line[x] = qRgb(row[first * width + x], row[(first + 1) * width + x],
                               row[(first + 2) * width + x]);
            } else if (map.packType == 2) {
                line[x] = qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
            } else {
                line[x] = qRgb(row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]);
            }
        }
    }
    return picture;
}

// A region: its size, then that many bytes less the size field.
void skipRegion(ByteReader& reader) {
    const int size = reader.u16be();
    requireValid(size >= 2);
    reader.skip(size - 2);
}

class PictPlayer {
public:
    // Opcodes of version 2 start on even offsets from the picture's start.
    PictPlayer(QByteArrayView bytes, qsizetype start) : mReader(bytes, start), mStart(start) {}

    QImage play() {
        mReader.skip(2);  // the size, which only fits pictures under 32 KB
        const Rect frame = readRect(mReader);
        requireValid(frame.width() > 0 && frame.height() > 0);
        mSource = readVersion(frame);
        mPage = allocatePicture(frame.width(), frame.height(), QImage::Format_RGB32);
        mPage.fill(Qt::white);
        mToPage = pageMapping(mSource, frame);
        mDrawing.emplace(mPage, mToPage);
        while (!mReader.atEnd()) {
            const std::uint16_t opcode = readOpcode();
            if (opcode == EndOfPicture) {
                break;
            }
            playOpcode(opcode);
            alignToWord();
        }
        requireValid(mDrewPixels || mDrawing->hasDrawn());
        return mPage;
    }

private:
    // The rectangle of the coordinates the opcodes use: the frame, but for
    // the extended header of version 2, which gives a source rectangle at
    // the picture's own resolution.
    Rect readVersion(const Rect& frame) {
        const int first = mReader.u8();
        if (first == 0x11) {
            requireValid(mReader.u8() == 0x01);
            mVersion = 1;
            return frame;
        }
        // "00 11 02 FF": the version opcode of version 2, then its header.
        requireValid(first == 0x00 && mReader.u8() == 0x11 && mReader.u8() == 0x02 &&
                     mReader.u8() == 0xFF);
        mVersion = 2;
        requireValid(mReader.u16be() == HeaderOpcode);
        if (static_cast<std::int16_t>(mReader.u16be()) != ExtendedHeader) {
            mReader.skip(22);
            return frame;
        }
        mReader.skip(2 + 8);  // reserved, resolutions
        const Rect source = readRect(mReader);
        mReader.skip(4);
        return source.width() > 0 && source.height() > 0 ? source : frame;
    }

    std::uint16_t readOpcode() { return mVersion == 1 ? mReader.u8() : mReader.u16be(); }

    void alignToWord() {
        if (mVersion == 2 && (mReader.position() - mStart) % 2 != 0 && !mReader.atEnd()) {
            mReader.skip(1);
        }
    }

    void playOpcode(std::uint16_t opcode) {
        switch (opcode) {
            case BitsRect:
            case BitsRegion:
            case PackBitsRect:
            case PackBitsRegion:
                drawBits(opcode == BitsRegion || opcode == PackBitsRegion,
                         opcode == PackBitsRect || opcode == PackBitsRegion, false);
                return;
            case DirectBitsRect:
            case DirectBitsRegion:
                mReader.skip(4);  // base address
                drawBits(opcode == DirectBitsRegion, true, true);
                return;
            case CompressedQuickTime:
                drawQuickTime();
                return;
            default:
                if (!mDrawing->play(opcode, mReader)) {
                    skipOperands(opcode);
                }
        }
    }

    void drawBits(bool withRegion, bool packed, bool direct) {
        PixMap map;
        const std::uint16_t rowBytes = mReader.u16be();
        map.rowBytes = rowBytes & 0x3FFF;
        if ((rowBytes & PixMapFlag) != 0) {
            readPixMapFields(mReader, map);
            if (!direct && map.pixelSize <= 8) {
                map.colours = readColourTable(mReader, map.pixelSize);
            }
        } else {
            map.bounds = readRect(mReader);
        }
        requireValid(map.bounds.width() > 0 && map.bounds.height() > 0);
        requireValid(direct ? map.pixelSize >= 16 : map.pixelSize <= 8);
        const Rect source = readRect(mReader);
        const Rect target = readRect(mReader);
        mReader.skip(2);  // transfer mode
        if (withRegion) {
            skipRegion(mReader);
        }
        const QImage pixels = direct ? directPixels(mReader, map)
                                     : indexedPixels(mReader, map, packed && map.rowBytes >= 8);
        draw(pixels,
             QRect(source.left - map.bounds.left, source.top - map.bounds.top, source.width(),
                   source.height()),
             target);
    }

    // The image description and its data follow a fixed header; a JPEG
    // stream is found where it starts.
    void drawQuickTime() {
        const std::uint32_t length = mReader.u32be();
        const QByteArrayView data = mReader.take(length);
        const qsizetype start = data.indexOf(JpegStart);
        if (start < 0) {
            return;
        }
        const QImage picture = QImage::fromData(data.sliced(start).toByteArray(), "JPEG");
        if (!picture.isNull()) {
            draw(picture, picture.rect(), mSource);
            skipFallback();
        }
    }

    // QuickTime follows its image with drawing for Macs without it ("QuickTime
    // and a ... decompressor are needed to see this picture"), led by a pen
    // size of height 0xAE whose width counts the bytes to skip.
    void skipFallback() {
        alignToWord();
        ByteReader ahead = mReader;
        if (ahead.remaining() >= 6 && ahead.u16be() == PenSize && ahead.u16be() == FallbackMark) {
            const qsizetype length = ahead.u16be();
            ahead.skip(length);
            mReader = ahead;
        }
    }

    void draw(const QImage& pixels, const QRect& source, const Rect& target) {
        QPainter painter(&mPage);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setTransform(mToPage);
        painter.drawImage(QRect(target.left, target.top, target.width(), target.height()), pixels,
                          source);
        mDrewPixels = true;
    }

    // The operands of every other opcode, by the lengths QuickDraw gives.
    void skipOperands(std::uint16_t opcode) {
        if (opcode >= 0x8100) {
            mReader.skip(mReader.u32be());
            return;
        }
        if (opcode >= 0x8000) {
            return;
        }
        if (opcode >= 0x0100) {
            mReader.skip(2 * (opcode >> 8));
            return;
        }
        mReader.skip(operandLength(opcode));
    }

    qsizetype operandLength(std::uint16_t opcode) {
        switch (opcode) {
            case 0x00:
            case 0x17:
            case 0x18:
            case 0x19:
            case 0x1C:
            case 0x1E:
                return 0;
            case 0x01:  // clip region
                return mReader.u16be() - 2;
            case 0x03:
            case 0x05:
            case 0x08:
            case 0x0D:
            case 0x15:
            case 0x16:
            case 0x23:
            case 0xA0:
                return 2;
            case 0x04:
                return 1;
            case 0x02:
            case 0x09:
            case 0x0A:
            case 0x10:
            case 0x20:
                return 8;
            case 0x06:
            case 0x07:
            case 0x0B:
            case 0x0C:
            case 0x0E:
            case 0x0F:
            case 0x21:
                return 4;
            case 0x11:
                return mVersion == 1 ? 1 : 2;
            case 0x12:
            case 0x13:
            case 0x14:
                skipPixPattern();
                return 0;
            case 0x1A:
            case 0x1B:
            case 0x1D:
            case 0x1F:
            case 0x22:
                return 6;
            case 0x28:  // long text: point, count, text
                mReader.skip(4);
                return mReader.u8();
            case 0x29:
            case 0x2A:
                mReader.skip(1);
                return mReader.u8();
            case 0x2B:
                mReader.skip(2);
                return mReader.u8();
            case 0xA1:  // long comment: kind, size, data
                mReader.skip(2);
                return mReader.u16be();
            default:
                return operandLengthOfShapes(opcode);
        }
    }

    qsizetype operandLengthOfShapes(std::uint16_t opcode) {
        if ((opcode >= 0x24 && opcode <= 0x27) || (opcode >= 0x2C && opcode <= 0x2F) ||
            (opcode >= 0x92 && opcode <= 0x97) || (opcode >= 0x9C && opcode <= 0x9F) ||
            (opcode >= 0xA2 && opcode <= 0xAF)) {
            return mReader.u16be();
        }
        if (opcode >= 0x30 && opcode <= 0x57) {
            return (opcode & 0x0F) < 8 ? 8 : 0;  // rectangles, rounded, ovals
        }
        if (opcode >= 0x58 && opcode <= 0x5F) {
            return 0;
        }
        if (opcode >= 0x60 && opcode <= 0x6F) {
            return opcode < 0x68 ? 12 : 4;  // arcs
        }
        if (opcode >= 0x70 && opcode <= 0x8F) {
            if ((opcode & 0x0F) >= 8) {
                return 0;  // the same polygon or region again
            }
            return mReader.u16be() - 2;  // polygons and regions
        }
        if (opcode >= 0xB0 && opcode <= 0xCF) {
            return 0;
        }
        if (opcode >= 0xD0 && opcode <= 0xFE) {
            return mReader.u32be();
        }
        throw MalformedPicture{};
    }

    // A pattern of colour: its type, the 8 bytes of its black-and-white
    // form, and for a pixel pattern its map, table and pixels.
    void skipPixPattern() {
        const int type = mReader.u16be();
        mReader.skip(8);
        if (type == 2) {
            mReader.skip(6);  // an RGB colour
            return;
        }
        requireValid(type == 1);
        PixMap map;
        map.rowBytes = mReader.u16be() & 0x3FFF;
        readPixMapFields(mReader, map);
        map.colours = readColourTable(mReader, map.pixelSize);
        (void)readRows(mReader, map, map.rowBytes, 1, map.rowBytes >= 8);
    }

    ByteReader mReader;
    qsizetype mStart = 0;
    int mVersion = 2;
    Rect mSource;  // what the page shows, in the opcodes' coordinates
    QTransform mToPage;
    QImage mPage;
    bool mDrewPixels = false;
    std::optional<QuickDrawDrawing> mDrawing;  // once the page is there
};

std::optional<qsizetype> pictureStart(QByteArrayView bytes) {
    for (const qsizetype start : {FileHeaderSize, qsizetype{0}}) {
        const qsizetype version = start + 10;
        if (bytes.size() >= version + 4 &&
            (bytes.sliced(version, 4) == QByteArrayView("\x00\x11\x02\xFF", 4) ||
             bytes.sliced(version, 2) == QByteArrayView("\x11\x01", 2))) {
            return start;
        }
    }
    return std::nullopt;
}

}  // namespace

QImage decodePict(QByteArrayView bytes) {
    try {
        const std::optional<qsizetype> start = pictureStart(bytes);
        requireValid(start.has_value());
        return PictPlayer(bytes, *start).play();
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
