#include "tests/imaging/metafile/emf_writer.h"

#include <bit>
#include <cmath>

namespace pictarium::test {

namespace {

constexpr int HeaderSize = 88;
constexpr std::uint32_t EndOfFile = 14;

std::uint32_t colorRef(QRgb colour) {
    return static_cast<std::uint32_t>(qRed(colour) | (qGreen(colour) << 8) | (qBlue(colour) << 16));
}

// Hundredths of a millimetre for a length in pixels at 96 dpi.
std::uint32_t hundredthsOfMm(int pixels) {
    return static_cast<std::uint32_t>(std::lround(pixels * 2540.0 / 96));
}

ByteWriter& rect(ByteWriter& out, const QRect& box) {
    return out.u32le(box.left()).u32le(box.top()).u32le(box.right()).u32le(box.bottom());
}

ByteWriter& floats(ByteWriter& out, const std::array<float, 6>& values) {
    for (const float value : values) {
        out.u32le(std::bit_cast<std::uint32_t>(value));
    }
    return out;
}

ByteWriter bounds() {
    ByteWriter out;
    return out.u32le(0).u32le(0).u32le(0).u32le(0);
}

// A 24-bit bottom-up DIB: the header, then the rows.
std::pair<QByteArray, QByteArray> dibOf(const QImage& picture) {
    ByteWriter header;
    header.u32le(40).u32le(picture.width()).u32le(picture.height()).u16le(1).u16le(24);
    header.u32le(0).u32le(0).u32le(0).u32le(0).u32le(0).u32le(0);
    ByteWriter bits;
    const int stride = (picture.width() * 3 + 3) / 4 * 4;
    for (int y = picture.height() - 1; y >= 0; --y) {
        const qsizetype start = bits.size();
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            bits.u8(qBlue(pixel)).u8(qGreen(pixel)).u8(qRed(pixel));
        }
        bits.padTo(start + stride);
    }
    return {header.result(), bits.result()};
}

}  // namespace

EmfWriter::EmfWriter(int width, int height) : mWidth(width), mHeight(height) {}

EmfWriter& EmfWriter::setDevice(int pixelsX, int pixelsY, int millimetresX, int millimetresY) {
    mDevice = {pixelsX, pixelsY, millimetresX, millimetresY};
    return *this;
}

EmfWriter& EmfWriter::record(std::uint32_t type, const QByteArray& body) {
    mRecords.u32le(type).u32le(static_cast<std::uint32_t>(8 + body.size())).bytes(body);
    ++mRecordCount;
    return *this;
}

EmfWriter& EmfWriter::setMapMode(int mode) {
    return record(17, ByteWriter().u32le(mode).result());
}

EmfWriter& EmfWriter::setWindowExtent(int x, int y) {
    return record(9, ByteWriter().u32le(x).u32le(y).result());
}

EmfWriter& EmfWriter::setViewportExtent(int x, int y) {
    return record(11, ByteWriter().u32le(x).u32le(y).result());
}

EmfWriter& EmfWriter::setWorldTransform(const std::array<float, 6>& matrix) {
    ByteWriter body;
    return record(35, floats(body, matrix).result());
}

EmfWriter& EmfWriter::modifyWorldTransform(const std::array<float, 6>& matrix, int mode) {
    ByteWriter body;
    return record(36, floats(body, matrix).u32le(mode).result());
}

EmfWriter& EmfWriter::saveContext() {
    return bare(Emr::SaveDc);
}

EmfWriter& EmfWriter::restoreContext(int which) {
    return record(34, ByteWriter().u32le(static_cast<std::uint32_t>(which)).result());
}

EmfWriter& EmfWriter::createPen(int index, int style, int width, QRgb colour) {
    return record(38, ByteWriter()
                          .u32le(index)
                          .u32le(style)
                          .u32le(width)
                          .u32le(0)
                          .u32le(colorRef(colour))
                          .result());
}

EmfWriter& EmfWriter::createBrush(int index, int style, QRgb colour, int hatch) {
    return record(
        39, ByteWriter().u32le(index).u32le(style).u32le(colorRef(colour)).u32le(hatch).result());
}

EmfWriter& EmfWriter::createFont(int index, int height, const QString& face, int width,
                                 std::uint8_t pitchAndFamily) {
    ByteWriter body;
    body.u32le(index).u32le(static_cast<std::uint32_t>(height));
    body.u32le(static_cast<std::uint32_t>(width)).u32le(0).u32le(0);
    body.u32le(700).u8(0).u8(0).u8(0).u8(0);
    body.u8(0).u8(0).u8(0).u8(pitchAndFamily);
    const qsizetype nameStart = body.size();
    for (const QChar character : face) {
        body.u16le(character.unicode());
    }
    body.padTo(nameStart + 64);
    return record(82, body.result());
}

EmfWriter& EmfWriter::selectObject(std::uint32_t index) {
    return record(37, ByteWriter().u32le(index).result());
}

EmfWriter& EmfWriter::deleteObject(int index) {
    return record(40, ByteWriter().u32le(index).result());
}

EmfWriter& EmfWriter::setBackgroundMode(int mode) {
    return record(18, ByteWriter().u32le(mode).result());
}

EmfWriter& EmfWriter::setBackgroundColour(QRgb colour) {
    return record(25, ByteWriter().u32le(colorRef(colour)).result());
}

EmfWriter& EmfWriter::setTextColour(QRgb colour) {
    return record(24, ByteWriter().u32le(colorRef(colour)).result());
}

EmfWriter& EmfWriter::setTextAlign(int align) {
    return record(22, ByteWriter().u32le(align).result());
}

EmfWriter& EmfWriter::setFillMode(int mode) {
    return record(19, ByteWriter().u32le(mode).result());
}

EmfWriter& EmfWriter::setMixMode(int mode) {
    return record(20, ByteWriter().u32le(mode).result());
}

EmfWriter& EmfWriter::rectangle(const QRect& box) {
    ByteWriter body;
    return record(43, rect(body, box).result());
}

EmfWriter& EmfWriter::ellipse(const QRect& box) {
    ByteWriter body;
    return record(42, rect(body, box).result());
}

EmfWriter& EmfWriter::pie(const QRect& box, QPoint start, QPoint end) {
    ByteWriter body;
    rect(body, box).u32le(start.x()).u32le(start.y()).u32le(end.x()).u32le(end.y());
    return record(47, body.result());
}

EmfWriter& EmfWriter::points(std::uint32_t type, const QList<QPoint>& points,
                             bool shortCoordinates) {
    ByteWriter body = bounds();
    body.u32le(static_cast<std::uint32_t>(points.size()));
    for (const QPoint point : points) {
        if (shortCoordinates) {
            body.u16le(point.x()).u16le(point.y());
        } else {
            body.u32le(point.x()).u32le(point.y());
        }
    }
    return record(type, body.result());
}

EmfWriter& EmfWriter::polyPolygon16(const QList<QList<QPoint>>& figures) {
    ByteWriter body = bounds();
    qsizetype total = 0;
    for (const auto& figure : figures) {
        total += figure.size();
    }
    body.u32le(static_cast<std::uint32_t>(figures.size())).u32le(static_cast<std::uint32_t>(total));
    for (const auto& figure : figures) {
        body.u32le(static_cast<std::uint32_t>(figure.size()));
    }
    for (const auto& figure : figures) {
        for (const QPoint point : figure) {
            body.u16le(point.x()).u16le(point.y());
        }
    }
    return record(91, body.result());
}

EmfWriter& EmfWriter::moveTo(QPoint point) {
    return record(27, ByteWriter().u32le(point.x()).u32le(point.y()).result());
}

EmfWriter& EmfWriter::lineTo(QPoint point) {
    return record(54, ByteWriter().u32le(point.x()).u32le(point.y()).result());
}

EmfWriter& EmfWriter::bare(std::uint32_t type) {
    return record(type, QByteArray());
}

EmfWriter& EmfWriter::intersectClip(const QRect& box) {
    ByteWriter body;
    return record(30, rect(body, box).result());
}

EmfWriter& EmfWriter::excludeClip(const QRect& box) {
    ByteWriter body;
    return record(29, rect(body, box).result());
}

EmfWriter& EmfWriter::textOut(QPoint reference, const QString& text, std::uint32_t options) {
    constexpr int FixedSize = 76;
    ByteWriter body = bounds();
    body.u32le(1).u32le(0).u32le(0);  // graphics mode, scales
    body.u32le(reference.x()).u32le(reference.y());
    body.u32le(static_cast<std::uint32_t>(text.size())).u32le(FixedSize).u32le(options);
    body.u32le(0).u32le(0).u32le(0).u32le(0);  // no rectangle to use
    body.u32le(0);                             // no advances
    for (const QChar character : text) {
        body.u16le(character.unicode());
    }
    body.padTo((body.size() + 3) / 4 * 4);
    return record(84, body.result());
}

EmfWriter& EmfWriter::stretchDib(const QRect& destination, const QImage& picture) {
    constexpr int FixedSize = 80;
    const auto [header, bits] = dibOf(picture);
    ByteWriter body = bounds();
    body.u32le(destination.x()).u32le(destination.y());
    body.u32le(0).u32le(0).u32le(picture.width()).u32le(picture.height());
    body.u32le(FixedSize).u32le(static_cast<std::uint32_t>(header.size()));
    body.u32le(static_cast<std::uint32_t>(FixedSize + header.size()));
    body.u32le(static_cast<std::uint32_t>(bits.size()));
    body.u32le(0).u32le(0x00CC0020);  // colours, source copy
    body.u32le(destination.width()).u32le(destination.height());
    body.bytes(header).bytes(bits);
    return record(81, body.result());
}

EmfWriter& EmfWriter::bitBlt(QPoint destination, const QImage& picture) {
    constexpr int FixedSize = 100;
    const auto [header, bits] = dibOf(picture);
    ByteWriter body = bounds();
    body.u32le(destination.x()).u32le(destination.y());
    body.u32le(picture.width()).u32le(picture.height()).u32le(0x00CC0020);
    body.u32le(0).u32le(0);
    floats(body, {1, 0, 0, 1, 0, 0}).u32le(0).u32le(0);
    body.u32le(FixedSize).u32le(static_cast<std::uint32_t>(header.size()));
    body.u32le(static_cast<std::uint32_t>(FixedSize + header.size()));
    body.u32le(static_cast<std::uint32_t>(bits.size()));
    body.bytes(header).bytes(bits);
    return record(76, body.result());
}

EmfWriter& EmfWriter::comment(const QByteArray& data) {
    ByteWriter body;
    body.u32le(static_cast<std::uint32_t>(data.size())).bytes(data);
    body.padTo((body.size() + 3) / 4 * 4);
    return record(70, body.result());
}

QByteArray EmfWriter::finish() const {
    ByteWriter end;
    end.u32le(EndOfFile).u32le(20).u32le(0).u32le(16).u32le(20);
    const auto total = static_cast<std::uint32_t>(HeaderSize + mRecords.size() + end.size());
    ByteWriter file;
    file.u32le(1).u32le(HeaderSize);
    file.u32le(0).u32le(0).u32le(mWidth - 1).u32le(mHeight - 1);  // bounds, device pixels
    file.u32le(0).u32le(0).u32le(hundredthsOfMm(mWidth)).u32le(hundredthsOfMm(mHeight));
    file.bytes(" EMF").u32le(0x10000).u32le(total).u32le(mRecordCount + 2);
    file.u16le(16).u16le(0).u32le(0).u32le(0).u32le(0);
    for (const int value : mDevice) {
        file.u32le(value);
    }
    return file.bytes(mRecords.result()).bytes(end.result()).result();
}

}  // namespace pictarium::test
