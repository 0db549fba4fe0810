#include "tests/imaging/metafile/emf_writer.h"

#include "tests/imaging/bitmap_bytes.h"

#include <cmath>
#include <utility>

namespace pictarium::test {

namespace {

// Hundredths of a millimetre for a length in pixels at 96 dpi.
std::int64_t hundredthsOfMm(int pixels) {
    return std::lround(pixels * 2540.0 / 96);
}

// The empty bounds that drawing records start with.
ByteWriter bounds() {
    return std::move(ByteWriter().fill(16));
}

// The picture's DIB without its image size, which writers of uncompressed
// bitmaps may leave at zero.
QByteArray dibOf(const QImage& picture) {
    return dib24(picture).replace(20, 4, QByteArray(4, '\0'));
}

}  // namespace

EmfWriter& EmfWriter::createFont(int index, int height, const QString& face, int width,
                                 std::uint8_t pitchAndFamily) {
    ByteWriter body;
    body.u32les({index, height, width, 0, 0, 700}).u8(0).u8(0).u8(0).u8(0);
    body.u8(0).u8(0).u8(0).u8(pitchAndFamily);
    const qsizetype nameStart = body.size();
    for (const QChar character : face) {
        body.u16le(character.unicode());
    }
    return record(82, body.padTo(nameStart + 64).result());
}

EmfWriter& EmfWriter::points(std::uint32_t type, const QList<QPoint>& points,
                             bool shortCoordinates) {
    ByteWriter body = bounds();
    body.u32le(static_cast<std::uint32_t>(points.size()));
    for (const QPoint point : points) {
        if (shortCoordinates) {
            body.u16les({point.x(), point.y()});
        } else {
            body.u32les({point.x(), point.y()});
        }
    }
    return record(type, body.result());
}

EmfWriter& EmfWriter::polyPolygon16(const QList<QList<QPoint>>& figures) {
    ByteWriter counts;
    ByteWriter points;
    for (const auto& figure : figures) {
        counts.u32le(static_cast<std::uint32_t>(figure.size()));
        for (const QPoint point : figure) {
            points.u16les({point.x(), point.y()});
        }
    }
    ByteWriter body = bounds();
    body.u32les({figures.size(), points.size() / 4});
    return record(91, body.bytes(counts.result()).bytes(points.result()).result());
}

EmfWriter& EmfWriter::textOut(QPoint reference, const QString& text, std::uint32_t options) {
    constexpr int FixedSize = 76;
    ByteWriter body = bounds();
    body.u32les({1, 0, 0, reference.x(), reference.y()});           // graphics mode, scales
    body.u32les({text.size(), FixedSize, options, 0, 0, 0, 0, 0});  // no rectangle, no advances
    for (const QChar character : text) {
        body.u16le(character.unicode());
    }
    return record(84, body.align(4).result());
}

EmfWriter& EmfWriter::stretchDib(const QRect& destination, const QImage& picture) {
    constexpr int FixedSize = 80;
    const QByteArray dib = dibOf(picture);
    ByteWriter body = bounds();
    body.u32les({destination.x(), destination.y(), 0, 0, picture.width(), picture.height()});
    body.u32les({FixedSize, 40, FixedSize + 40, dib.size() - 40});
    body.u32les({0, 0x00CC0020, destination.width(), destination.height()});  // source copy
    return record(81, body.bytes(dib).result());
}

EmfWriter& EmfWriter::bitBlt(QPoint destination, const QImage& picture) {
    constexpr int FixedSize = 100;
    const QByteArray dib = dibOf(picture);
    ByteWriter body = bounds();
    body.u32les({destination.x(), destination.y(), picture.width(), picture.height()});
    body.u32les({0x00CC0020, 0, 0}).floats({1, 0, 0, 1, 0, 0}).u32les({0, 0});
    body.u32les({FixedSize, 40, FixedSize + 40, dib.size() - 40});
    return record(76, body.bytes(dib).result());
}

QByteArray EmfWriter::finish() const {
    constexpr int HeaderSize = 88;
    constexpr int EndSize = 20;
    ByteWriter file;
    file.u32les({1, HeaderSize, 0, 0, mWidth - 1, mHeight - 1});  // bounds, device pixels
    file.u32les({0, 0, hundredthsOfMm(mWidth), hundredthsOfMm(mHeight)});
    file.bytes(" EMF").u32les({0x10000, HeaderSize + mRecords.size() + EndSize, mRecordCount + 2});
    file.u16le(16).u16le(0).u32les({0, 0, 0, mDevice[0], mDevice[1], mDevice[2], mDevice[3]});
    file.bytes(mRecords.result());
    return file.u32les({14, EndSize, 0, 16, EndSize}).result();  // the end record
}

}  // namespace pictarium::test
