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
    EmfWriter(int width, int height);

    // Another recording device, its size in pixels and millimetres.
    EmfWriter& setDevice(int pixelsX, int pixelsY, int millimetresX, int millimetresY);

    // Any record: its type and the bytes after its type and size.
    EmfWriter& record(std::uint32_t type, const QByteArray& body);

    EmfWriter& setMapMode(int mode);
    EmfWriter& setWindowExtent(int x, int y);
    EmfWriter& setViewportExtent(int x, int y);
    EmfWriter& setWorldTransform(const std::array<float, 6>& matrix);
    EmfWriter& modifyWorldTransform(const std::array<float, 6>& matrix, int mode);
    EmfWriter& saveContext();
    EmfWriter& restoreContext(int which = -1);

    EmfWriter& createPen(int index, int style, int width, QRgb colour);
    EmfWriter& createBrush(int index, int style, QRgb colour, int hatch = 0);
    // A bold font; `width` is the average character width, 0 for the face's own.
    EmfWriter& createFont(int index, int height, const QString& face, int width = 0,
                          std::uint8_t pitchAndFamily = 0);
    EmfWriter& selectObject(std::uint32_t index);
    EmfWriter& deleteObject(int index);

    EmfWriter& setBackgroundMode(int mode);
    EmfWriter& setBackgroundColour(QRgb colour);
    EmfWriter& setTextColour(QRgb colour);
    EmfWriter& setTextAlign(int align);
    EmfWriter& setFillMode(int mode);
    // How the pen and brush combine with the picture: CopyMix or XorMix.
    EmfWriter& setMixMode(int mode);

    EmfWriter& rectangle(const QRect& box);
    EmfWriter& ellipse(const QRect& box);
    EmfWriter& pie(const QRect& box, QPoint start, QPoint end);
    // Polygon, Polyline, PolyBezier and the like: bounds, count, points.
    EmfWriter& points(std::uint32_t type, const QList<QPoint>& points, bool shortCoordinates);
    EmfWriter& polyPolygon16(const QList<QList<QPoint>>& figures);
    EmfWriter& moveTo(QPoint point);
    EmfWriter& lineTo(QPoint point);
    EmfWriter& bare(std::uint32_t type);  // records without fields: paths, save
    EmfWriter& intersectClip(const QRect& box);
    EmfWriter& excludeClip(const QRect& box);

    // With GlyphIndexText, each unit of `text` is a glyph number.
    EmfWriter& textOut(QPoint reference, const QString& text, std::uint32_t options = 0);
    // The picture as a 24-bit bottom-up DIB stretched into `destination`.
    EmfWriter& stretchDib(const QRect& destination, const QImage& picture);
    // The same with a bit-block transfer of the bitmap's own size.
    EmfWriter& bitBlt(QPoint destination, const QImage& picture);
    EmfWriter& comment(const QByteArray& data);

    // The metafile with its end record, the header's totals filled in.
    [[nodiscard]] QByteArray finish() const;

private:
    ByteWriter mRecords;
    int mRecordCount = 0;
    int mWidth;
    int mHeight;
    std::array<int, 4> mDevice{960, 960, 254, 254};  // a 96 dpi screen
};

// Record types and constants the tests use.
namespace Emr {
inline constexpr std::uint32_t PolyBezier = 2;
inline constexpr std::uint32_t Polygon = 3;
inline constexpr std::uint32_t Polyline = 4;
inline constexpr std::uint32_t PolyBezierTo = 5;
inline constexpr std::uint32_t SaveDc = 33;
inline constexpr std::uint32_t BeginPath = 59;
inline constexpr std::uint32_t EndPath = 60;
inline constexpr std::uint32_t CloseFigure = 61;
inline constexpr std::uint32_t FillPath = 62;
inline constexpr std::uint32_t StrokeAndFillPath = 63;
inline constexpr std::uint32_t StrokePath = 64;
inline constexpr std::uint32_t Polygon16 = 86;
inline constexpr std::uint32_t Polyline16 = 87;
}  // namespace Emr

inline constexpr std::uint32_t NullPen = 0x80000008;
inline constexpr std::uint32_t BlackBrush = 0x80000004;
inline constexpr std::uint32_t NullBrush = 0x80000005;

// Mix modes for setMixMode.
inline constexpr int XorMix = 7;
inline constexpr int CopyMix = 13;

// The textOut option that makes each unit of the text a glyph number.
inline constexpr std::uint32_t GlyphIndexText = 0x10;

}  // namespace pictarium::test
