#include "imaging/metafile/emf_player_p.h"

#include "imaging/metafile/emf_dib_p.h"
#include "imaging/metafile/emf_record_types_p.h"
#include "imaging/metafile/emf_region_p.h"
#include "imaging/metafile/emf_styles_p.h"

#include <QLinearGradient>

#include <array>

namespace pictarium::emf {

namespace {

constexpr std::uint32_t PatternCopy = 0x00F00021;
constexpr std::uint32_t PatternInvert = 0x005A0049;
constexpr std::uint32_t DestinationInvert = 0x00550009;
constexpr std::uint32_t Blackness = 0x00000042;
constexpr std::uint32_t Whiteness = 0x00FF0062;
constexpr std::uint32_t SourceAlphaFormat = 0x01;

constexpr std::uint32_t GradientHorizontal = 0;
constexpr std::uint32_t GradientVertical = 1;
constexpr std::uint32_t GradientTriangles = 2;

DibLocation readDibLocation(RecordReader& reader) {
    DibLocation location;
    location.headerOffset = reader.u32();
    location.headerSize = reader.u32();
    location.bitsOffset = reader.u32();
    location.bitsSize = reader.u32();
    return location;
}

struct Vertex {
    QPointF point;
    QColor colour;
};

std::vector<Vertex> readVertices(RecordReader& reader, std::uint32_t count) {
    requireValid(reader.holds(count, 16));
    std::vector<Vertex> vertices(count);
    for (Vertex& vertex : vertices) {
        vertex.point = reader.pointL();
        const int red = reader.u16() >> 8;
        const int green = reader.u16() >> 8;
        const int blue = reader.u16() >> 8;
        (void)reader.u16();  // alpha
        vertex.colour = QColor(red, green, blue);
    }
    return vertices;
}

// A shape of a gradient fill, in logical units, and how to fill it.
struct GradientShape {
    QPainterPath area;
    QBrush brush;
};

// Qt has no three-colour gradient: a triangle takes its corners' mean colour.
GradientShape triangleShape(const Vertex& a, const Vertex& b, const Vertex& c) {
    GradientShape shape;
    shape.area.addPolygon(QPolygonF({a.point, b.point, c.point}));
    shape.area.closeSubpath();
    shape.brush = QColor((a.colour.red() + b.colour.red() + c.colour.red()) / 3,
                         (a.colour.green() + b.colour.green() + c.colour.green()) / 3,
                         (a.colour.blue() + b.colour.blue() + c.colour.blue()) / 3);
    return shape;
}

// A rectangle shading from one corner's colour to the other's, across or down.
GradientShape rectangleShape(const Vertex& from, const Vertex& to, bool across,
                             const QTransform& toPicture) {
    GradientShape shape;
    shape.area.addRect(QRectF(from.point, to.point).normalized());
    const QPointF start = across ? QPointF(from.point.x(), 0) : QPointF(0, from.point.y());
    const QPointF end = across ? QPointF(to.point.x(), 0) : QPointF(0, to.point.y());
    QLinearGradient gradient(toPicture.map(start), toPicture.map(end));
    gradient.setColorAt(0, from.colour);
    gradient.setColorAt(1, to.colour);
    shape.brush = gradient;
    return shape;
}

// The fields that bit-block transfer, stretch and blend records share.
struct Blit {
    QRectF destination;
    std::uint32_t operation = 0;
    QRectF source;
    DibLocation location;
};

Blit readBlit(RecordReader& reader, std::uint32_t type) {
    reader.skipBounds();
    Blit blit;
    const QPointF origin = reader.pointL();
    const double width = reader.i32();
    const double height = reader.i32();
    blit.destination = QRectF(origin, QSizeF(width, height));
    blit.operation = reader.u32();
    const QPointF sourceOrigin = reader.pointL();
    reader.skip(24 + 4);  // the source's transform and background colour
    const std::uint32_t usage = reader.u32();
    blit.location = readDibLocation(reader);
    blit.location.usage = usage;
    QSizeF sourceSize(width, height);
    if (type != RecordType::BitBlt) {
        const double sourceWidth = reader.i32();
        sourceSize = QSizeF(sourceWidth, reader.i32());
    }
    blit.source = QRectF(sourceOrigin, sourceSize);
    return blit;
}

}  // namespace

// Bit-block transfers: a bitmap, or for raster operations without a source
// only the brush, into a destination rectangle.
void Player::playBlit(const Record& record) {
    RecordReader reader(record);
    const Blit blit = readBlit(reader, record.type);
    if (blit.location.headerSize == 0) {
        fillWithoutSource(blit.destination, blit.operation);
        return;
    }
    if (record.type != RecordType::AlphaBlend) {
        placeBitmap(dibOfRecord(reader, blit.location), blit.source, blit.destination,
                    compositionOfRasterOperation(blit.operation));
        return;
    }
    // The operation holds the blend: constant alpha in its third byte, and
    // whether the bitmap has alpha of its own in its fourth.
    const bool sourceAlpha = ((blit.operation >> 24) & 0xFF) == SourceAlphaFormat;
    const double opacity = ((blit.operation >> 16) & 0xFF) / 255.0;
    placeBitmap(dibOfRecord(reader, blit.location, sourceAlpha), blit.source, blit.destination,
                QPainter::CompositionMode_SourceOver, opacity);
}

void Player::playStretchDib(const Record& record) {
    RecordReader reader(record);
    reader.skipBounds();
    const QPointF destinationOrigin = reader.pointL();
    const double sourceX = reader.i32();
    const double sourceY = reader.i32();
    const double sourceWidth = reader.i32();
    const double sourceHeight = reader.i32();
    DibLocation location = readDibLocation(reader);
    location.usage = reader.u32();
    const std::uint32_t operation = reader.u32();
    const double width = reader.i32();
    const QRectF destination(destinationOrigin, QSizeF(width, reader.i32()));
    const QImage image = dibOfRecord(reader, location);
    // The source rectangle of a bottom-up bitmap counts from its last row.
    const double top =
        isBottomUpDib(reader, location) ? image.height() - sourceY - sourceHeight : sourceY;
    placeBitmap(image, QRectF(sourceX, top, sourceWidth, sourceHeight), destination,
                compositionOfRasterOperation(operation));
}

void Player::playDibToDevice(const Record& record) {
    RecordReader reader(record);
    reader.skipBounds();
    const QPointF destinationOrigin = reader.pointL();
    const double sourceX = reader.i32();
    const double sourceY = reader.i32();
    const double width = reader.i32();
    const double height = reader.i32();
    DibLocation location = readDibLocation(reader);
    location.usage = reader.u32();
    const QImage image = dibOfRecord(reader, location);
    const double top =
        isBottomUpDib(reader, location) ? image.height() - sourceY - height : sourceY;
    placeBitmap(image, QRectF(sourceX, top, width, height),
                QRectF(destinationOrigin, QSizeF(width, height)),
                QPainter::CompositionMode_SourceOver);
}

void Player::placeBitmap(const QImage& image, const QRectF& source, const QRectF& destination,
                         QPainter::CompositionMode mode, double opacity) {
    if (image.isNull() || !(source.width() > 0) || !(source.height() > 0)) {
        return;
    }
    const QRectF visible = source.intersected(QRectF(image.rect()));
    const QTransform placement = QTransform::fromTranslate(-source.x(), -source.y()) *
                                 QTransform::fromScale(destination.width() / source.width(),
                                                       destination.height() / source.height()) *
                                 QTransform::fromTranslate(destination.x(), destination.y()) *
                                 toPicture();
    mCanvas.drawImage(image, visible, placement, mode, mContext.smoothStretch, opacity);
}

void Player::fillWithoutSource(const QRectF& destination, std::uint32_t operation) {
    Paint paint;
    switch (operation) {
        case PatternCopy:
            paint.brush = qtBrush(mContext.brush);
            break;
        case PatternInvert:
            paint.brush = qtBrush(mContext.brush);
            paint.mode = QPainter::RasterOp_SourceXorDestination;
            break;
        case DestinationInvert:
            paint.brush = Qt::black;
            paint.mode = QPainter::RasterOp_NotDestination;
            break;
        case Blackness:
            paint.brush = Qt::black;
            break;
        case Whiteness:
            paint.brush = Qt::white;
            break;
        default:
            return;
    }
    QPainterPath area;
    area.addRect(destination);
    mCanvas.drawPath(toPicture().map(area), paint);
}

void Player::playGradientFill(const Record& record) {
    RecordReader reader(record);
    reader.skipBounds();
    const std::uint32_t vertexCount = reader.u32();
    const std::uint32_t shapeCount = reader.u32();
    const std::uint32_t mode = reader.u32();
    if (mode != GradientHorizontal && mode != GradientVertical && mode != GradientTriangles) {
        return;
    }
    const std::vector<Vertex> vertices = readVertices(reader, vertexCount);
    const qsizetype cornerCount = mode == GradientTriangles ? 3 : 2;
    requireValid(reader.holds(shapeCount, 4 * cornerCount));
    const QTransform transform = toPicture();
    for (std::uint32_t shape = 0; shape < shapeCount; ++shape) {
        std::array<const Vertex*, 3> corners{};
        for (qsizetype i = 0; i < cornerCount; ++i) {
            const std::uint32_t index = reader.u32();
            requireValid(index < vertexCount);
            corners[i] = &vertices[index];
        }
        const GradientShape gradient =
            mode == GradientTriangles
                ? triangleShape(*corners[0], *corners[1], *corners[2])
                : rectangleShape(*corners[0], *corners[1], mode == GradientHorizontal, transform);
        Paint paint;
        paint.brush = gradient.brush;
        mCanvas.drawPath(transform.map(gradient.area), paint);
    }
}

void Player::fillRegion(const Record& record, bool withOwnBrush) {
    RecordReader reader(record);
    reader.skipBounds();
    (void)reader.u32();  // region data size
    Paint paint;
    paint.brush = qtBrush(withOwnBrush ? brushAt(reader.u32()) : mContext.brush);
    // These regions are in logical units.
    mCanvas.drawPath(toPicture().map(readRegion(reader)), paint);
}

}  // namespace pictarium::emf
