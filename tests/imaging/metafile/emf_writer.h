#pragma once

#include "tests/imaging/byte_writer.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>

#include <array>
#include <cstdint>

namespace pictarium::test {

// Builds an enhanced metafile record by record. The recording device is a
// 96 dpi screen and the frame starts at 0, so that in the default mapping
// one logical unit is one pixel of the rendered picture.
class EmfWriter {
public:
    EmfWriter(int width, int height) : mWidth(width), mHeight(height) {}

    // Another recording device, its size in pixels and millimetres.
    EmfWriter& setDevice(int pixelsX, int pixelsY, int millimetresX, int millimetresY) {
        mDevice = {pixelsX, pixelsY, millimetresX, millimetresY};
        return *this;
    }

    // Any record: its type and the bytes after its type and size.
    EmfWriter& record(std::uint32_t type, const QByteArray& body) {
        mRecords.u32les({type, 8 + body.size()}).bytes(body);
        ++mRecordCount;
        return *this;
    }
    // Records without fields: paths, save.
    EmfWriter& bare(std::uint32_t type) { return record(type, {}); }

    EmfWriter& setMapMode(int mode) { return record(17, words({mode})); }
    EmfWriter& setWindowExtent(int x, int y) { return record(9, words({x, y})); }
    EmfWriter& setViewportExtent(int x, int y) { return record(11, words({x, y})); }
    EmfWriter& setWorldTransform(const std::array<float, 6>& m) {
        return record(35, floats({m[0], m[1], m[2], m[3], m[4], m[5]}));
    }
    EmfWriter& modifyWorldTransform(const std::array<float, 6>& m, int mode) {
        return record(36, floats({m[0], m[1], m[2], m[3], m[4], m[5]}) + words({mode}));
    }
    EmfWriter& saveContext() { return bare(33); }
    EmfWriter& restoreContext(int which = -1) { return record(34, words({which})); }

    EmfWriter& createPen(int index, int style, int width, QRgb colour) {
        return record(38, words({index, style, width, 0, colorRef(colour)}));
    }
    EmfWriter& createBrush(int index, int style, QRgb colour, int hatch = 0) {
        return record(39, words({index, style, colorRef(colour), hatch}));
    }
    // A bold font; `width` is the average character width, 0 for the face's own.
    EmfWriter& createFont(int index, int height, const QString& face, int width = 0,
                          std::uint8_t pitchAndFamily = 0);
    EmfWriter& selectObject(std::uint32_t index) { return record(37, words({index})); }
    EmfWriter& deleteObject(int index) { return record(40, words({index})); }

    EmfWriter& setBackgroundMode(int mode) { return record(18, words({mode})); }
    EmfWriter& setBackgroundColour(QRgb colour) { return record(25, words({colorRef(colour)})); }
    EmfWriter& setTextColour(QRgb colour) { return record(24, words({colorRef(colour)})); }
    EmfWriter& setTextAlign(int align) { return record(22, words({align})); }
    EmfWriter& setFillMode(int mode) { return record(19, words({mode})); }
    // How the pen and brush combine with the picture: CopyMix or XorMix.
    EmfWriter& setMixMode(int mode) { return record(20, words({mode})); }

    EmfWriter& rectangle(const QRect& box) { return record(43, edges(box)); }
    EmfWriter& ellipse(const QRect& box) { return record(42, edges(box)); }
    EmfWriter& pie(const QRect& box, QPoint start, QPoint end) {
        return record(47, edges(box) + words({start.x(), start.y(), end.x(), end.y()}));
    }
    // Polygon, Polyline, PolyBezier and the like: bounds, count, points.
    EmfWriter& points(std::uint32_t type, const QList<QPoint>& points, bool shortCoordinates);
    EmfWriter& polyPolygon16(const QList<QList<QPoint>>& figures);
    EmfWriter& moveTo(QPoint point) { return record(27, words({point.x(), point.y()})); }
    EmfWriter& lineTo(QPoint point) { return record(54, words({point.x(), point.y()})); }
    EmfWriter& intersectClip(const QRect& box) { return record(30, edges(box)); }
    EmfWriter& excludeClip(const QRect& box) { return record(29, edges(box)); }

    // With GlyphIndexText, each unit of `text` is a glyph number.
    EmfWriter& textOut(QPoint reference, const QString& text, std::uint32_t options = 0);
    // The picture as a 24-bit bottom-up DIB stretched into `destination`.
    EmfWriter& stretchDib(const QRect& destination, const QImage& picture);
    // The same with a bit-block transfer of the bitmap's own size.
    EmfWriter& bitBlt(QPoint destination, const QImage& picture);
    EmfWriter& comment(const QByteArray& data) {
        return record(70,
                      ByteWriter().u32le(std::uint32_t(data.size())).bytes(data).align(4).result());
    }

    // The metafile with its end record, the header's totals filled in.
    [[nodiscard]] QByteArray finish() const;

private:
    static QByteArray edges(const QRect& box) {
        return words({box.left(), box.top(), box.right(), box.bottom()});
    }

    ByteWriter mRecords;
    int mRecordCount = 0;
    int mWidth;
    int mHeight;
    std::array<int, 4> mDevice{960, 960, 254, 254};  // a 96 dpi screen
};

// Record types and constants the tests use.
namespace Emr {
inline constexpr std::uint32_t Polygon = 3;
inline constexpr std::uint32_t Polyline = 4;
inline constexpr std::uint32_t PolyBezierTo = 5;
inline constexpr std::uint32_t BeginPath = 59;
inline constexpr std::uint32_t EndPath = 60;
inline constexpr std::uint32_t CloseFigure = 61;
inline constexpr std::uint32_t FillPath = 62;
inline constexpr std::uint32_t StrokePath = 64;
inline constexpr std::uint32_t Polygon16 = 86;
inline constexpr std::uint32_t Polyline16 = 87;
}  // namespace Emr

inline constexpr std::uint32_t NullPen = 0x80000008;

// Mix modes for setMixMode.
inline constexpr int XorMix = 7;
inline constexpr int CopyMix = 13;

// The textOut option that makes each unit of the text a glyph number.
inline constexpr std::uint32_t GlyphIndexText = 0x10;

}  // namespace pictarium::test
