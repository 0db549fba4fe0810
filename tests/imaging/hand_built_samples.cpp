#include "tests/imaging/hand_built_samples.h"

#include "tests/imaging/byte_writer.h"

#include <QBuffer>
#include <QList>

#include <algorithm>
#include <functional>

namespace pictarium::test {

namespace {

bool isWhite(const QImage& picture, int x, int y) {
    return qGray(picture.pixel(x, y)) > 127;
}

int rowBytes(int width, int bits = 1) {
    return (width * bits + 7) / 8;
}

// One row of 1-bit pixels, most significant bit first.
QByteArray bitRow(int width, const std::function<bool(int x)>& isSet, int stride) {
    QByteArray row(stride, '\0');
    for (int x = 0; x < width; ++x) {
        if (isSet(x)) {
            row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return row;
}

// Runs of three or more equal bytes become runs; the rest literal chunks.
template <typename EmitRun, typename EmitLiteral>
void encodeRuns(const QByteArray& data, int maxRun, EmitRun emitRun, EmitLiteral emitLiteral) {
    qsizetype i = 0;
    while (i < data.size()) {
        qsizetype run = 1;
        while (i + run < data.size() && data[i + run] == data[i] && run < maxRun) {
            ++run;
        }
        if (run >= 3) {
            emitRun(data[i], run);
            i += run;
            continue;
        }
        qsizetype end = i;
        while (
            end < data.size() && end - i < maxRun &&
            !(end + 2 < data.size() && data[end] == data[end + 1] && data[end] == data[end + 2])) {
            ++end;
        }
        emitLiteral(data.mid(i, std::max<qsizetype>(end - i, 1)));
        i += std::max<qsizetype>(end - i, 1);
    }
}

QByteArray packBits(const QByteArray& row) {
    ByteWriter out;
    encodeRuns(
        row, 128, [&](char value, qsizetype count) { out.u8(257 - int(count)).u8(value); },
        [&](const QByteArray& literal) { out.u8(int(literal.size()) - 1).bytes(literal); });
    return out.result();
}

// Standard PC colours as a 16-entry palette in the given scale.
template <typename Channel>
void writePalette(ByteWriter& out, const QImage& picture, Channel channel) {
    for (int i = 0; i < 16; ++i) {
        const QRgb colour = picture.color(i);
        out.u8(channel(qRed(colour))).u8(channel(qGreen(colour))).u8(channel(qBlue(colour)));
    }
}

QByteArray metafileRecords() {
    ByteWriter records;
    const auto record = [&records](int words, int function) {
        records.u32le(std::uint32_t(words)).u16le(function);
    };
    record(5, 0x020B);  // SetWindowOrg
    records.u16le(0).u16le(0);
    record(5, 0x020C);  // SetWindowExt
    records.u16le(480).u16le(720);
    record(8, 0x02FA);  // CreatePenIndirect: a null pen, so no outline
    records.u16le(5).u16le(0).u16le(0).u32le(0);
    record(4, 0x012D);  // SelectObject
    records.u16le(0);
    const auto filledRectangle = [&](std::uint32_t colour, int left, int right, int brush) {
        record(7, 0x02FC);  // CreateBrushIndirect, solid
        records.u16le(0).u32le(colour).u16le(0);
        record(4, 0x012D);
        records.u16le(brush);
        record(7, 0x041B);  // Rectangle: bottom, right, top, left
        records.u16le(480).u16le(right).u16le(0).u16le(left);
    };
    filledRectangle(0x000000FF, 0, 360, 1);
    filledRectangle(0x00FF0000, 360, 720, 2);
    record(3, 0x0000);  // EOF
    return records.result();
}

}  // namespace

QImage redBlueHalves() {
    QImage picture(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 48; ++x) {
            picture.setPixel(x, y, x < 24 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        }
    }
    return picture;
}

QByteArray windowsMetafile() {
    ByteWriter header;
    header.u32le(0x9AC6CDD7).u16le(0);
    header.u16le(0).u16le(0).u16le(720).u16le(480);  // bounding box, in twips
    header.u16le(1440).u32le(0);                     // units per inch, reserved
    int checksum = 0;
    for (int i = 0; i < 20; i += 2) {
        checksum ^= static_cast<uchar>(header.result()[i]) |
                    (static_cast<uchar>(header.result()[i + 1]) << 8);
    }
    header.u16le(checksum);
    const QByteArray records = metafileRecords();
    const std::uint32_t totalWords = std::uint32_t((18 + records.size()) / 2);
    header.u16le(1).u16le(9).u16le(0x0300).u32le(totalWords);
    header.u16le(3).u32le(8).u16le(0);  // objects, largest record, unused
    header.bytes(records);
    return header.result();
}

QByteArray enhancedMetafile() {
    ByteWriter emf;
    emf.u32le(1).u32le(88);                     // EMR_HEADER, its size
    emf.u32le(0).u32le(0).u32le(47).u32le(31);  // bounds
    emf.u32le(0).u32le(0).u32le(1270).u32le(847);
    emf.bytes(" EMF").u32le(0x10000).u32le(108).u32le(2);
    emf.u16le(1).u16le(0).u32le(0).u32le(0).u32le(0);
    emf.u32le(1024).u32le(768).u32le(320).u32le(240);
    emf.u32le(14).u32le(20).u32le(0).u32le(16).u32le(20);  // EMR_EOF
    return emf.result();
}

QByteArray macPaint(const QImage& monochrome, bool withMacBinaryHeader) {
    ByteWriter file;
    if (withMacBinaryHeader) {
        file.u8(0).u8(6).bytes("sample").padTo(65).bytes("PNTGMPNT").padTo(128);
    }
    const qsizetype start = file.size();
    file.u8(0).u8(0).u8(0).u8(2).padTo(start + 512);
    for (int y = 0; y < 720; ++y) {
        const QByteArray row = bitRow(
            monochrome.width(),
            [&](int x) {
                return y < monochrome.height() && x < monochrome.width() &&
                       !isWhite(monochrome, x, y);
            },
            72);
        file.bytes(packBits(row));
    }
    return file.result();
}

QByteArray wordPerfectGraphic(const QImage& sixteenColours) {
    ByteWriter file;
    file.bytes("\xFFWPC").u32le(16).u16le(0x1601).u16le(1).u8(1).u8(0).u16le(0).u16le(0);
    file.u8(0x0F).u8(6).u8(1).u8(0).u16le(0).u16le(0);  // start of picture
    file.u8(0x0E).u8(4 + 48).u16le(0).u16le(16);        // palette
    writePalette(file, sixteenColours, [](int value) { return value; });

    ByteWriter pixels;
    for (int y = 0; y < sixteenColours.height(); ++y) {
        QByteArray row(rowBytes(sixteenColours.width(), 4), '\0');
        for (int x = 0; x < sixteenColours.width(); ++x) {
            const int index = sixteenColours.pixelIndex(x, y);
            row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        encodeRuns(
            row, 127, [&](char value, qsizetype count) { pixels.u8(0x80 | int(count)).u8(value); },
            [&](const QByteArray& literal) { pixels.u8(int(literal.size())).bytes(literal); });
    }
    file.u8(0x0B).u8(0xFF).u16le(int(10 + pixels.size()));  // bitmap, long length form
    file.u16le(sixteenColours.width()).u16le(sixteenColours.height()).u16le(4);
    file.u16le(75).u16le(75).bytes(pixels.result());
    file.u8(0x10).u8(0);  // end of picture
    return file.result();
}

QByteArray drHaloCut(const QImage& grey) {
    ByteWriter file;
    file.u16le(grey.width()).u16le(grey.height()).u16le(0);
    for (int y = 0; y < grey.height(); ++y) {
        QByteArray row;
        for (int x = 0; x < grey.width(); ++x) {
            row.append(static_cast<char>(qGray(grey.pixel(x, y))));
        }
        ByteWriter line;
        encodeRuns(
            row, 127, [&](char value, qsizetype count) { line.u8(0x80 | int(count)).u8(value); },
            [&](const QByteArray& literal) { line.u8(int(literal.size())).bytes(literal); });
        line.u8(0);
        file.u16le(int(line.size())).bytes(line.result());
    }
    return file.result();
}

QByteArray scitexContinuousTone(const QImage& colour) {
    ByteWriter file;
    file.fill(80, ' ').bytes("CT").padTo(1024, ' ');
    file.u8(0).u8(3).u16be(0x0007);  // units, three separations, RGB
    file.bytes("+.2400000E+01").padTo(1042, ' ');
    file.bytes("+.1600000E+01").padTo(1056, ' ');
    file.bytes(QByteArray::number(colour.height()).rightJustified(12, '0'));
    file.bytes(QByteArray::number(colour.width()).rightJustified(12, '0'));
    file.padTo(2048, ' ');
    for (int y = 0; y < colour.height(); ++y) {
        using Channel = int (*)(QRgb);
        for (const Channel channel : {Channel(qRed), Channel(qGreen), Channel(qBlue)}) {
            for (int x = 0; x < colour.width(); ++x) {
                file.u8(channel(colour.pixel(x, y)));
            }
            if (colour.width() % 2 != 0) {
                file.u8(0);
            }
        }
    }
    return file.result();
}

QByteArray microsoftPaint(const QImage& monochrome, MspVersion version) {
    const int width = monochrome.width();
    const int height = monochrome.height();
    ByteWriter header;
    header.bytes(version == MspVersion::Plain1 ? "DanM" : "LinS");
    header.u16le(width).u16le(height).u16le(1).u16le(1).u16le(1).u16le(1);
    header.u16le(width).u16le(height).u16le(0).u16le(0);
    int checksum = 0;
    for (int i = 0; i < 24; i += 2) {
        checksum ^= static_cast<uchar>(header.result()[i]) |
                    (static_cast<uchar>(header.result()[i + 1]) << 8);
    }
    header.u16le(checksum).fill(6);

    QList<QByteArray> rows;
    for (int y = 0; y < height; ++y) {
        rows.append(bitRow(
            monochrome.width(), [&](int x) { return isWhite(monochrome, x, y); }, rowBytes(width)));
    }
    if (version == MspVersion::Plain1) {
        for (const QByteArray& row : rows) {
            header.bytes(row);
        }
        return header.result();
    }
    QList<QByteArray> packed;
    for (const QByteArray& row : rows) {
        ByteWriter out;
        encodeRuns(
            row, 255, [&](char value, qsizetype count) { out.u8(0).u8(int(count)).u8(value); },
            [&](const QByteArray& literal) { out.u8(int(literal.size())).bytes(literal); });
        packed.append(out.result());
    }
    for (const QByteArray& row : packed) {
        header.u16le(int(row.size()));
    }
    for (const QByteArray& row : packed) {
        header.bytes(row);
    }
    return header.result();
}

QByteArray gemMonochrome(const QImage& monochrome) {
    const int width = monochrome.width();
    ByteWriter file;
    file.u16be(1).u16be(8).u16be(1).u16be(2).u16be(85).u16be(85);
    file.u16be(width).u16be(monochrome.height());
    QList<QByteArray> rows;
    for (int y = 0; y < monochrome.height(); ++y) {
        rows.append(bitRow(
            monochrome.width(), [&](int x) { return !isWhite(monochrome, x, y); },
            rowBytes(width)));
    }
    for (qsizetype y = 0; y < rows.size();) {
        qsizetype repeat = 1;
        while (y + repeat < rows.size() && rows[y + repeat] == rows[y]) {
            ++repeat;
        }
        if (repeat > 1) {
            file.u8(0).u8(0).u8(0xFF).u8(int(repeat));
        }
        encodeRuns(
            rows[y], 127,
            [&](char value, qsizetype count) {
                if (value == '\0' || value == '\xFF') {
                    file.u8((value == '\0' ? 0x00 : 0x80) | int(count));
                } else {
                    file.u8(0x80).u8(int(count)).bytes(QByteArray(count, value));
                }
            },
            [&](const QByteArray& literal) {
                file.u8(0x80).u8(int(literal.size())).bytes(literal);
            });
        y += repeat;
    }
    return file.result();
}

QByteArray gemSixteenColours(const QImage& sixteenColours) {
    const int width = sixteenColours.width();
    ByteWriter file;
    file.u16be(1).u16be(8 + 3 + 48).u16be(4).u16be(2).u16be(85).u16be(85);
    file.u16be(width).u16be(sixteenColours.height());
    file.bytes("XIMG").u16be(0);
    for (int i = 0; i < 16; ++i) {
        const QRgb colour = sixteenColours.color(i);
        for (const int value : {qRed(colour), qGreen(colour), qBlue(colour)}) {
            file.u16be((value * 1000 + 127) / 255);
        }
    }
    for (int y = 0; y < sixteenColours.height(); ++y) {
        for (int plane = 0; plane < 4; ++plane) {
            const QByteArray row = bitRow(
                sixteenColours.width(),
                [&](int x) { return (sixteenColours.pixelIndex(x, y) >> plane) & 1; },
                rowBytes(width));
            file.u8(0x80).u8(int(row.size())).bytes(row);
        }
    }
    return file.result();
}

QByteArray gemPatternRuns() {
    ByteWriter file;
    file.u16be(1).u16be(8).u16be(1).u16be(2).u16be(85).u16be(85).u16be(32).u16be(2);
    file.u8(0).u8(2).u8(0xAA).u8(0x55);  // pattern run: AA 55, twice
    file.u8(0).u8(1).u8(0x0F).u8(0xF0).u8(0).u8(1).u8(0x0F).u8(0xF0);
    return file.result();
}

QImage gemPatternRunsPicture() {
    QImage picture(32, 2, QImage::Format_RGB32);
    constexpr uchar Rows[2][2] = {{0xAA, 0x55}, {0x0F, 0xF0}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool ink = (Rows[y][(x / 8) % 2] >> (7 - x % 8)) & 1;
            picture.setPixel(x, y, ink ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return picture;
}

QByteArray clipboardWithDib(const QImage& colour) {
    // The DIB is a 24-bit bitmap file without its 14-byte file header.
    QByteArray dib;
    dib.reserve(40 + colour.width() * colour.height() * 4);
    ByteWriter info;
    info.u32le(40).u32le(std::uint32_t(colour.width())).u32le(std::uint32_t(colour.height()));
    info.u16le(1).u16le(24).u32le(0).u32le(0).u32le(2835).u32le(2835).u32le(0).u32le(0);
    dib.append(info.result());
    const int stride = (colour.width() * 3 + 3) / 4 * 4;
    for (int y = colour.height() - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < colour.width(); ++x) {
            const QRgb pixel = colour.pixel(x, y);
            row[3 * x] = static_cast<char>(qBlue(pixel));
            row[3 * x + 1] = static_cast<char>(qGreen(pixel));
            row[3 * x + 2] = static_cast<char>(qRed(pixel));
        }
        dib.append(row);
    }
    const QByteArray text = QByteArrayLiteral("not a picture");
    ByteWriter file;
    file.u16le(0xC351).u16le(2);
    const std::uint32_t dataStart = 4 + 2 * 172;
    file.u32le(1).u32le(std::uint32_t(text.size())).u32le(dataStart).fill(160);
    file.u32le(8).u32le(std::uint32_t(dib.size())).u32le(dataStart + std::uint32_t(text.size()));
    file.fill(160);
    file.bytes(text).bytes(dib);
    return file.result();
}

namespace {

QByteArray windows3Clipboard(const QList<std::pair<int, QByteArray>>& entries) {
    ByteWriter file;
    file.u16le(0xC350).u16le(int(entries.size()));
    std::uint32_t offset = std::uint32_t(4 + 89 * entries.size());
    for (const auto& [format, data] : entries) {
        file.u16le(format).u32le(std::uint32_t(data.size())).u32le(offset).fill(79);
        offset += std::uint32_t(data.size());
    }
    for (const auto& entry : entries) {
        file.bytes(entry.second);
    }
    return file.result();
}

}  // namespace

QByteArray clipboardWithMonochromeBitmap(const QImage& monochrome) {
    const int stride = (monochrome.width() + 15) / 16 * 2;
    ByteWriter bitmap;
    bitmap.u16le(0).u16le(monochrome.width()).u16le(monochrome.height()).u16le(stride);
    bitmap.u8(1).u8(1).u32le(0);
    for (int y = 0; y < monochrome.height(); ++y) {
        bitmap.bytes(bitRow(
            monochrome.width(), [&](int x) { return isWhite(monochrome, x, y); }, stride));
    }
    return windows3Clipboard({{2, bitmap.result()}});
}

QByteArray clipboardWithPaletteBitmap(const QImage& sixteenColours) {
    const int stride = (sixteenColours.width() + 1) / 2 * 2;
    ByteWriter bitmap;
    bitmap.u16le(0).u16le(sixteenColours.width()).u16le(sixteenColours.height());
    bitmap.u16le(stride).u8(1).u8(8).u32le(0);
    for (int y = 0; y < sixteenColours.height(); ++y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < sixteenColours.width(); ++x) {
            row[x] = static_cast<char>(sixteenColours.pixelIndex(x, y));
        }
        bitmap.bytes(row);
    }
    ByteWriter palette;
    palette.u16le(0x300).u16le(16);
    for (int i = 0; i < 16; ++i) {
        const QRgb colour = sixteenColours.color(i);
        palette.u8(qRed(colour)).u8(qGreen(colour)).u8(qBlue(colour)).u8(0);
    }
    return windows3Clipboard({{9, palette.result()}, {2, bitmap.result()}});
}

namespace {

// Header through the palette; the pixel data follows.
ByteWriter pcPaintHeader(const QImage& picture, int planeInfo, int paletteKind,
                         const QByteArray& palette, int blocks) {
    ByteWriter file;
    file.u16le(0x1234).u16le(picture.width()).u16le(picture.height()).u16le(0).u16le(0);
    file.u8(planeInfo).u8(0xFF).u8('M').u16le(paletteKind).u16le(int(palette.size()));
    file.bytes(palette).u16le(blocks);
    return file;
}

// Packs `pixels` into blocks of at most `blockSize` unpacked bytes.
void appendPackedBlocks(ByteWriter& file, const QByteArray& pixels, qsizetype blockSize) {
    constexpr char Marker = '\x7E';
    for (qsizetype start = 0; start < pixels.size(); start += blockSize) {
        const QByteArray part = pixels.mid(start, blockSize);
        ByteWriter packed;
        encodeRuns(
            part, 255,
            [&](char value, qsizetype count) { packed.u8(Marker).u8(int(count)).u8(value); },
            [&](const QByteArray& literal) {
                for (const char c : literal) {
                    if (c == Marker) {
                        packed.u8(Marker).u8(0).u16le(1).u8(c);  // a 16-bit count
                    } else {
                        packed.u8(c);
                    }
                }
            });
        file.u16le(int(packed.size() + 5)).u16le(int(part.size())).u8(Marker);
        file.bytes(packed.result());
    }
}

// Rows bottom up, as PC Paint stores them.
QByteArray bottomUp(const QImage& picture, int stride,
                    const std::function<QByteArray(int y, int stride)>& row) {
    QByteArray pixels;
    for (int y = picture.height() - 1; y >= 0; --y) {
        pixels.append(row(y, stride));
    }
    return pixels;
}

}  // namespace

QByteArray pcPaintMonochrome(const QImage& monochrome) {
    const QByteArray pixels =
        bottomUp(monochrome, rowBytes(monochrome.width()), [&](int y, int stride) {
            return bitRow(
                monochrome.width(), [&](int x) { return isWhite(monochrome, x, y); }, stride);
        });
    ByteWriter file = pcPaintHeader(monochrome, 0x01, 0, {}, 2);
    appendPackedBlocks(file, pixels, (pixels.size() + 1) / 2);
    return file.result();
}

QByteArray pcPaintEgaPlanes(const QImage& sixteenColours) {
    QByteArray pixels;
    for (int plane = 0; plane < 4; ++plane) {
        pixels.append(
            bottomUp(sixteenColours, rowBytes(sixteenColours.width()), [&](int y, int stride) {
                return bitRow(
                    sixteenColours.width(),
                    [&](int x) { return (sixteenColours.pixelIndex(x, y) >> plane) & 1; }, stride);
            }));
    }
    const QByteArray egaRegisters(
        "\x00\x01\x02\x03\x04\x05\x14\x07\x38\x39\x3A\x3B\x3C\x3D\x3E\x3F", 16);
    ByteWriter file = pcPaintHeader(sixteenColours, 0x31, 3, egaRegisters, 1);
    appendPackedBlocks(file, pixels, pixels.size());
    return file.result();
}

QByteArray pcPaintVga(const QImage& sixteenColours) {
    ByteWriter palette;
    writePalette(palette, sixteenColours, [](int value) { return value * 63 / 255; });
    palette.padTo(768);
    ByteWriter file = pcPaintHeader(sixteenColours, 0x08, 4, palette.result(), 0);
    file.bytes(bottomUp(sixteenColours, sixteenColours.width(), [&](int y, int stride) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < stride; ++x) {
            row[x] = static_cast<char>(sixteenColours.pixelIndex(x, y));
        }
        return row;
    }));
    return file.result();
}

QByteArray encapsulatedPostScript() {
    return QByteArrayLiteral(
        "%!PS-Adobe-3.0 EPSF-3.0\n"
        "%%BoundingBox: 100 200 136 224\n"
        "%%Title: sample\n"
        "%%EndComments\n"
        "1 0 0 setrgbcolor 100 200 18 24 rectfill\n"
        "0 0 1 setrgbcolor 118 200 18 24 rectfill\n"
        "showpage\n"
        "%%EOF\n");
}

QByteArray dosEpsWithTiffPreview(const QByteArray& tiff) {
    const QByteArray postScript = QByteArrayLiteral(
        "%!PS-Adobe-3.0 EPSF-3.0\n"
        "%%BoundingBox: 0 0 24 16\n"
        "%%EndComments\n"
        "this_operator_does_not_exist\n");
    ByteWriter file;
    file.bytes("\xC5\xD0\xD3\xC6").u32le(30).u32le(std::uint32_t(postScript.size()));
    file.u32le(0).u32le(0);
    file.u32le(std::uint32_t(30 + postScript.size())).u32le(std::uint32_t(tiff.size()));
    file.u16le(0xFFFF).bytes(postScript).bytes(tiff);
    return file.result();
}

namespace {

std::uint32_t pngCrc(QByteArrayView bytes) {
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1U) != 0 ? 0xEDB88320U : 0U);
        }
    }
    return ~crc;
}

QByteArray be32(std::uint32_t value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
    }
    return bytes;
}

}  // namespace

QByteArray withPngChunk(QByteArray png, const QByteArray& type, const QByteArray& data) {
    const QByteArray chunk = type + data;
    const QByteArray whole =
        be32(static_cast<std::uint32_t>(data.size())) + chunk + be32(pngCrc(chunk));
    png.insert(png.indexOf("IDAT") - 4, whole);
    return png;
}

QByteArray deepPngWithTransparentColour(const QImage& colour) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    colour.convertToFormat(QImage::Format_RGBX64).save(&buffer, "PNG");
    const QRgb key = colour.pixel(0, 0);
    QByteArray samples;
    for (const int channel : {qRed(key), qGreen(key), qBlue(key)}) {
        samples +=
            QByteArray(1, static_cast<char>(channel)) + QByteArray(1, static_cast<char>(channel));
    }
    return withPngChunk(png, "tRNS", samples);
}

QImage deepPngWithTransparentColourOnWhite(const QImage& colour) {
    QImage picture = colour.convertToFormat(QImage::Format_RGB32);
    const QRgb key = picture.pixel(0, 0);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) == key) {
                picture.setPixel(x, y, qRgb(255, 255, 255));
            }
        }
    }
    return picture;
}

}  // namespace pictarium::test
