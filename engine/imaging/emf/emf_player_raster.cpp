#include "emf_player.h"

#include "emf_dib.h"
#include "emf_record_types.h"
#include "emf_region.h"
#include "emf_styles.h"

#include <QLinearGradient>

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

}  // namespace

// Bit-block transfers: a bitmap, or for raster operations without a source
// only the brush, into a destination rectangle.
void Player::playBlit(const Record& record) {
    RecordReader reader(record);
    reader.skipBounds();
    const double x = reader.i32();
    const double y = reader.i32();
    const double width = reader.i32();
    const double height = reader.i32();
    const QRectF destination(x, y, width, height);
    const std::uint32_t operation = reader.u32();
    const double sourceX = reader.i32();
    const double sourceY = reader.i32();
    reader.skip(24 + 4);  // the source's transform and background colour
    const std::uint32_t usage = reader.u32();
    DibLocation location = readDibLocation(reader);
    location.usage = usage;
    QSizeF sourceSize(width, height);
    if (record.type != RecordType::BitBlt) {
        const double sourceWidth = reader.i32();
        sourceSize = QSizeF(sourceWidth, reader.i32());
    }
    if (location.headerSize == 0) {
        fillWithoutSource(destination, operation);
        return;
    }
    const bool blend = record.type == RecordType::AlphaBlend;
    const bool sourceAlpha = blend && ((operation >> 24) & 0xFF) == SourceAlphaFormat;
    const QImage image = dibOfRecord(reader, location, sourceAlpha);
    const QRectF source(QPointF(sourceX, sourceY), sourceSize);
    if (blend) {
        const double opacity = ((operation >> 16) & 0xFF) / 255.0;
        placeBitmap(image, source, destination, QPainter::CompositionMode_SourceOver, opacity);
    } else {
        placeBitmap(image, source, destination, compositionOfRasterOperation(operation));
    }
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
    const std::vector<Vertex> vertices = readVertices(reader, vertexCount);
    const qsizetype indexCount = mode == GradientTriangles ? 3 : 2;
    requireValid(reader.holds(shapeCount, 4 * indexCount));
    const QTransform transform = toPicture();
    for (std::uint32_t shape = 0; shape < shapeCount; ++shape) {
        std::vector<const Vertex*> corners;
        for (qsizetype i = 0; i < indexCount; ++i) {
            const std::uint32_t index = reader.u32();
            requireValid(index < vertexCount);
            corners.push_back(&vertices[index]);
        }
        QPainterPath area;
        Paint paint;
        if (mode == GradientTriangles) {
            // Qt has no three-colour gradient: the triangle takes the mean colour.
            area.addPolygon(QPolygonF({corners[0]->point, corners[1]->point, corners[2]->point}));
            const auto mean = [&corners](auto channel) {
                return (channel(corners[0]->colour) + channel(corners[1]->colour) +
                        channel(corners[2]->colour)) /
                       3;
            };
            paint.brush = QColor(mean([](QColor c) { return c.red(); }),
                                 mean([](QColor c) { return c.green(); }),
                                 mean([](QColor c) { return c.blue(); }));
        } else if (mode == GradientHorizontal || mode == GradientVertical) {
            const QRectF box = QRectF(corners[0]->point, corners[1]->point).normalized();
            area.addRect(box);
            const QPointF end = mode == GradientHorizontal ? QPointF(corners[1]->point.x(), 0)
                                                           : QPointF(0, corners[1]->point.y());
            const QPointF start = mode == GradientHorizontal ? QPointF(corners[0]->point.x(), 0)
                                                             : QPointF(0, corners[0]->point.y());
            QLinearGradient gradient(transform.map(start), transform.map(end));
            gradient.setColorAt(0, corners[0]->colour);
            gradient.setColorAt(1, corners[1]->colour);
            paint.brush = gradient;
        } else {
            return;
        }
        mCanvas.drawPath(transform.map(area), paint);
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
