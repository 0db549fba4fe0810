#include "tests/imaging/hand_built_samples.h"

#include "tests/imaging/bitmap_bytes.h"
#include "tests/imaging/library_samples.h"
#include "tests/imaging/metafile/wmf_writer.h"

#include <zlib.h>

#include <algorithm>
#include <functional>

namespace pictarium::test {

namespace {

int rowBytes(int width, int bits = 1) {
    return (width * bits + 7) / 8;
}

// One row of 1-bit pixels, most significant bit first.
QByteArray bitRow(int width, int stride, const std::function<bool(int x)>& isSet) {
    QByteArray row(stride, '\0');
    for (int x = 0; x < width; ++x) {
        if (isSet(x)) {
            row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return row;
}

// Row `y` of a black and white picture: its white pixels set, or its black
// ones; past the picture, nothing set.
QByteArray monoRow(const QImage& picture, int y, bool whiteIsSet, int stride = 0) {
    return bitRow(picture.width(), stride > 0 ? stride : rowBytes(picture.width()), [&](int x) {
        return y < picture.height() && (qGray(picture.pixel(x, y)) > 127) == whiteIsSet;
    });
}

// Row `y` of one plane of a sixteen-colour picture.
QByteArray planeRow(const QImage& picture, int y, int plane) {
    return bitRow(picture.width(), rowBytes(picture.width()),
                  [&](int x) { return (picture.pixelIndex(x, y) >> plane) & 1; });
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

// Runs as a count byte of 0x80 and up before the value, literals as their
// length before them.
QByteArray highBitRuns(const QByteArray& data) {
    ByteWriter out;
    encodeRuns(
        data, 127, [&](char value, qsizetype count) { out.u8(0x80 | int(count)).u8(value); },
        [&](const QByteArray& literal) { out.u8(int(literal.size())).bytes(literal); });
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
    constexpr int NullPen = 5;
    WmfWriter wmf(QRect(0, 0, 720, 480), 1440);  // in twips
    wmf.setWindow(QRect(0, 0, 720, 480)).createPen(NullPen, 0, 0).selectObject(0);
    wmf.createBrush(0, qRgb(255, 0, 0)).selectObject(1);
    wmf.rectangle(edges(0, 0, 360, 480));
    wmf.createBrush(0, qRgb(0, 0, 255)).selectObject(2);
    return wmf.rectangle(edges(360, 0, 720, 480)).finish();
}

QByteArray wordPerfectGraphic(const QImage& sixteenColours) {
    ByteWriter file;
    file.bytes("\xFFWPC").u32le(16).u16le(0x1601).u16le(1).u8(1).u8(0).u16le(0).u16le(0);
    file.u8(0x0F).u8(6).u8(1).u8(0).u16le(0).u16le(0);  // start of picture
    file.u8(0x0E).u8(4 + 48).u16le(0).u16le(16);        // palette
    writePalette(file, sixteenColours, [](int value) { return value; });

    QByteArray pixels;
    for (int y = 0; y < sixteenColours.height(); ++y) {
        QByteArray row(rowBytes(sixteenColours.width(), 4), '\0');
        for (int x = 0; x < sixteenColours.width(); ++x) {
            const int index = sixteenColours.pixelIndex(x, y);
            row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        pixels += highBitRuns(row);
    }
    file.u8(0x0B).u8(0xFF).u16le(int(10 + pixels.size()));  // bitmap, long length form
    file.u16les({sixteenColours.width(), sixteenColours.height(), 4, 75, 75}).bytes(pixels);
    file.u8(0x10).u8(0);  // end of picture
    return file.result();
}

QByteArray drHaloCut(const QImage& grey) {
    ByteWriter file;
    file.u16les({grey.width(), grey.height(), 0});
    for (int y = 0; y < grey.height(); ++y) {
        QByteArray row;
        for (int x = 0; x < grey.width(); ++x) {
            row.append(static_cast<char>(qGray(grey.pixel(x, y))));
        }
        const QByteArray line = highBitRuns(row) + QByteArray(1, '\0');
        file.u16le(int(line.size())).bytes(line);
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
            file.align(2);
        }
    }
    return file.result();
}

ByteWriter mspHeader(MspVersion version, int width, int height) {
    ByteWriter header;
    header.bytes(version == MspVersion::Plain1 ? "DanM" : "LinS");
    header.u16les({width, height, 1, 1, 1, 1, width, height, 0, 0});
    header.u16le(xorOfWords(header.result(), 12)).fill(6);
    return header;
}

QByteArray microsoftPaint(const QImage& monochrome, MspVersion version) {
    ByteWriter file = mspHeader(version, monochrome.width(), monochrome.height());
    QList<QByteArray> rows;
    for (int y = 0; y < monochrome.height(); ++y) {
        QByteArray row = monoRow(monochrome, y, true);
        if (version == MspVersion::Packed2) {
            ByteWriter packed;
            encodeRuns(
                row, 255,
                [&](char value, qsizetype count) { packed.u8(0).u8(int(count)).u8(value); },
                [&](const QByteArray& literal) { packed.u8(int(literal.size())).bytes(literal); });
            row = packed.result();
            file.u16le(int(row.size()));
        }
        rows.append(row);
    }
    for (const QByteArray& row : rows) {
        file.bytes(row);
    }
    return file.result();
}

ByteWriter gemHeader(int planes, int width, int height, int words) {
    ByteWriter header;
    header.u16bes({1, words, planes, 2, 85, 85, width, height});
    return header;
}

QByteArray gemSixteenColours(const QImage& sixteenColours) {
    ByteWriter file = gemHeader(4, sixteenColours.width(), sixteenColours.height(), 8 + 3 + 48);
    file.bytes("XIMG").u16be(0);
    for (int i = 0; i < 16; ++i) {
        const QRgb colour = sixteenColours.color(i);
        for (const int value : {qRed(colour), qGreen(colour), qBlue(colour)}) {
            file.u16be((value * 1000 + 127) / 255);
        }
    }
    for (int y = 0; y < sixteenColours.height(); ++y) {
        for (int plane = 0; plane < 4; ++plane) {
            const QByteArray row = planeRow(sixteenColours, y, plane);
            file.u8(0x80).u8(int(row.size())).bytes(row);
        }
    }
    return file.result();
}

QByteArray windows3Clipboard(const QList<std::pair<int, QByteArray>>& entries) {
    ByteWriter file;
    file.u16le(0xC350).u16le(int(entries.size()));
    qsizetype offset = 4 + 89 * entries.size();
    for (const auto& [format, data] : entries) {
        file.u16le(format).u32les({data.size(), offset}).fill(79);
        offset += data.size();
    }
    for (const auto& entry : entries) {
        file.bytes(entry.second);
    }
    return file.result();
}

QByteArray clipboardWithDib(const QImage& colour) {
    const QByteArray dib = dib24(colour);
    const QByteArray text = QByteArrayLiteral("not a picture");
    constexpr qsizetype DataStart = 4 + 2 * 172;
    ByteWriter file;
    file.u16le(0xC351).u16le(2);
    file.u32les({1, text.size(), DataStart}).fill(160);
    file.u32les({8, dib.size(), DataStart + text.size()}).fill(160);
    return file.bytes(text).bytes(dib).result();
}

QByteArray clipboardWithMonochromeBitmap(const QImage& monochrome) {
    const int stride = (monochrome.width() + 15) / 16 * 2;
    ByteWriter bitmap;
    bitmap.u16les({0, monochrome.width(), monochrome.height(), stride}).u8(1).u8(1).u32le(0);
    for (int y = 0; y < monochrome.height(); ++y) {
        bitmap.bytes(monoRow(monochrome, y, true, stride));
    }
    return windows3Clipboard({{2, bitmap.result()}});
}

QByteArray clipboardWithPaletteBitmap(const QImage& sixteenColours) {
    const int stride = (sixteenColours.width() + 1) / 2 * 2;
    ByteWriter bitmap;
    bitmap.u16les({0, sixteenColours.width(), sixteenColours.height(), stride});
    bitmap.u8(1).u8(8).u32le(0);
    for (int y = 0; y < sixteenColours.height(); ++y) {
        for (int x = 0; x < sixteenColours.width(); ++x) {
            bitmap.u8(sixteenColours.pixelIndex(x, y));
        }
        bitmap.align(2);
    }
    ByteWriter palette;
    palette.u16le(0x300).u16le(16);
    for (const QRgb colour : sixteenColours.colorTable()) {
        palette.u8(qRed(colour)).u8(qGreen(colour)).u8(qBlue(colour)).u8(0);
    }
    return windows3Clipboard({{9, palette.result()}, {2, bitmap.result()}});
}

ByteWriter pcPaintHeader(int width, int height, int planeInfo, int paletteKind,
                         QByteArrayView palette, int blocks) {
    ByteWriter file;
    file.u16les({0x1234, width, height, 0, 0}).u8(planeInfo).u8(0xFF).u8('M');
    file.u16le(paletteKind).u16le(int(palette.size())).bytes(palette).u16le(blocks);
    return file;
}

namespace {

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

// Rows bottom up, as PC Paint stores them, each `row(y)`.
QByteArray bottomUp(const QImage& picture, const std::function<QByteArray(int y)>& row) {
    QByteArray pixels;
    for (int y = picture.height() - 1; y >= 0; --y) {
        pixels.append(row(y));
    }
    return pixels;
}

}  // namespace

QByteArray pcPaintMonochrome(const QImage& monochrome) {
    const QByteArray pixels =
        bottomUp(monochrome, [&](int y) { return monoRow(monochrome, y, true); });
    ByteWriter file = pcPaintHeader(monochrome.width(), monochrome.height(), 0x01, 0, {}, 2);
    appendPackedBlocks(file, pixels, (pixels.size() + 1) / 2);
    return file.result();
}

QByteArray pcPaintEgaPlanes(const QImage& sixteenColours) {
    QByteArray pixels;
    for (int plane = 0; plane < 4; ++plane) {
        pixels.append(
            bottomUp(sixteenColours, [&](int y) { return planeRow(sixteenColours, y, plane); }));
    }
    const QByteArray egaRegisters(
        "\x00\x01\x02\x03\x04\x05\x14\x07\x38\x39\x3A\x3B\x3C\x3D\x3E\x3F", 16);
    ByteWriter file =
        pcPaintHeader(sixteenColours.width(), sixteenColours.height(), 0x31, 3, egaRegisters, 1);
    appendPackedBlocks(file, pixels, pixels.size());
    return file.result();
}

QByteArray pcPaintVga(const QImage& sixteenColours) {
    ByteWriter palette;
    writePalette(palette, sixteenColours, [](int value) { return value * 63 / 255; });
    palette.padTo(768);
    ByteWriter file = pcPaintHeader(sixteenColours.width(), sixteenColours.height(), 0x08, 4,
                                    palette.result(), 0);
    file.bytes(bottomUp(sixteenColours, [&](int y) {
        QByteArray row(sixteenColours.width(), '\0');
        for (int x = 0; x < row.size(); ++x) {
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
    file.bytes("\xC5\xD0\xD3\xC6").u32les({30, postScript.size(), 0, 0});
    file.u32les({30 + postScript.size(), tiff.size()});
    return file.u16le(0xFFFF).bytes(postScript).bytes(tiff).result();
}

std::uint32_t pngCrc(QByteArrayView bytes) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

QByteArray withPngChunk(QByteArray png, const QByteArray& type, const QByteArray& data) {
    const QByteArray chunk = type + data;
    ByteWriter whole;
    whole.u32be(static_cast<std::uint32_t>(data.size())).bytes(chunk).u32be(pngCrc(chunk));
    png.insert(png.indexOf("IDAT") - 4, whole.result());
    return png;
}

QByteArray deepPngWithTransparentColour(const QImage& colour) {
    const QByteArray png = writtenByQt(colour.convertToFormat(QImage::Format_RGBX64), "png");
    const QRgb key = colour.pixel(0, 0);
    ByteWriter samples;
    samples.u16bes({qRed(key) * 257, qGreen(key) * 257, qBlue(key) * 257});
    return withPngChunk(png, "tRNS", samples.result());
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
