#include "imaging/metafile/emf_player_p.h"

#include "imaging/metafile/emf_record_types_p.h"
#include "imaging/metafile/emf_shapes_p.h"
#include "imaging/metafile/emf_styles_p.h"

#include <cmath>

namespace pictarium::emf {

namespace {

bool hasShortCoordinates(std::uint32_t type) {
    return type >= RecordType::PolyBezier16 && type <= RecordType::PolyDraw16;
}

// The 32-bit type a 16-bit record stands for.
std::uint32_t longForm(std::uint32_t type) {
    return hasShortCoordinates(type) ? type - RecordType::PolyBezier16 + RecordType::PolyBezier
                                     : type;
}

QPainterPath polylinePath(const QPolygonF& points, bool closed) {
    QPainterPath path;
    if (points.isEmpty()) {
        return path;
    }
    path.addPolygon(points);
    if (closed) {
        path.closeSubpath();
    }
    return path;
}

}  // namespace

void Player::playDrawing(const Record& record) {
    switch (longForm(record.type)) {
        case RecordType::PolyBezier:
        case RecordType::Polygon:
        case RecordType::Polyline:
        case RecordType::PolyBezierTo:
        case RecordType::PolylineTo:
            drawPoints(longForm(record.type), record);
            break;
        case RecordType::PolyPolyline:
        case RecordType::PolyPolygon:
            drawPolyPoints(longForm(record.type), record);
            break;
        case RecordType::PolyDraw:
            drawPolyDraw(record, hasShortCoordinates(record.type));
            break;
        case RecordType::Ellipse:
        case RecordType::Rectangle:
        case RecordType::RoundRect:
        case RecordType::Arc:
        case RecordType::Chord:
        case RecordType::Pie:
        case RecordType::ArcTo:
            drawBoxShape(record.type, record);
            break;
        case RecordType::AngleArc:
            drawAngleArc(record);
            break;
        case RecordType::LineTo:
            lineTo(RecordReader(record).pointL());
            break;
        case RecordType::SetPixelV:
            setPixel(record);
            break;
        default:
            break;
    }
}

void Player::drawPoints(std::uint32_t type, const Record& record) {
    RecordReader reader(record);
    reader.skipBounds();
    const std::uint32_t count = reader.u32();
    const QPolygonF points = reader.points(count, hasShortCoordinates(record.type));
    switch (type) {
        case RecordType::PolyBezier:
            drawShape(bezierPath(points), false, true);
            break;
        case RecordType::Polygon:
            drawShape(polylinePath(points, true), true, true);
            break;
        case RecordType::Polyline:
            drawShape(polylinePath(points, false), false, true);
            break;
        case RecordType::PolyBezierTo:
            drawContinuation(bezierPath(points, &mContext.currentPosition));
            break;
        default: {  // polyline to
            QPainterPath lines(mContext.currentPosition);
            for (const QPointF& point : points) {
                lines.lineTo(point);
            }
            drawContinuation(lines);
            break;
        }
    }
}

void Player::drawPolyPoints(std::uint32_t type, const Record& record) {
    RecordReader reader(record);
    reader.skipBounds();
    const std::uint32_t figureCount = reader.u32();
    const std::uint32_t pointCount = reader.u32();
    requireValid(reader.holds(figureCount, 4));
    std::vector<std::uint32_t> counts(figureCount);
    std::uint64_t total = 0;
    for (std::uint32_t& count : counts) {
        count = reader.u32();
        total += count;
    }
    requireValid(total == pointCount);
    const QPolygonF points = reader.points(pointCount, hasShortCoordinates(record.type));
    const bool closed = type == RecordType::PolyPolygon;
    QPainterPath shape;
    qsizetype first = 0;
    for (const std::uint32_t count : counts) {
        shape.addPath(polylinePath(points.mid(first, count), closed));
        first += count;
    }
    drawShape(shape, closed, true);
}

void Player::drawPolyDraw(const Record& record, bool shortCoordinates) {
    RecordReader reader(record);
    reader.skipBounds();
    const std::uint32_t count = reader.u32();
    const QPolygonF points = reader.points(count, shortCoordinates);
    const QByteArrayView types = reader.take(count);
    drawContinuation(polyDrawPath(mContext.currentPosition, points, types));
}

void Player::drawBoxShape(std::uint32_t type, const Record& record) {
    RecordReader reader(record);
    const QRectF box = reader.rectL().toRectF();
    QPainterPath shape;
    switch (type) {
        case RecordType::Ellipse:
            shape.addEllipse(box);
            drawShape(shape, true, true);
            return;
        case RecordType::Rectangle:
            shape.addRect(box);
            drawShape(shape, true, true);
            return;
        case RecordType::RoundRect: {
            const double cornerWidth = reader.i32();
            drawShape(roundedRectanglePath(box, QSizeF(cornerWidth, reader.i32())), true, true);
            return;
        }
        default:
            break;
    }
    const QPointF start = reader.pointL();
    const QPointF end = reader.pointL();
    // The direction holds on the device, so a mapping that mirrors turns it round.
    const bool clockwise = mContext.clockwiseArcs != (toPicture().determinant() < 0);
    if (type == RecordType::ArcTo) {
        QPainterPath lines(mContext.currentPosition);
        lines.connectPath(arcPath(ArcKind::Open, box, start, end, clockwise));
        drawContinuation(lines);
        return;
    }
    const ArcKind kind = type == RecordType::Arc     ? ArcKind::Open
                         : type == RecordType::Chord ? ArcKind::Chord
                                                     : ArcKind::Pie;
    drawShape(arcPath(kind, box, start, end, clockwise), kind != ArcKind::Open, true);
}

void Player::drawAngleArc(const Record& record) {
    RecordReader reader(record);
    const QPointF centre = reader.pointL();
    const double radius = reader.u32();
    const double startAngle = reader.f32();
    const double sweepAngle = reader.f32();
    if (!std::isfinite(startAngle) || !std::isfinite(sweepAngle)) {
        return;
    }
    drawContinuation(
        angleArcPath(mContext.currentPosition, centre, radius, startAngle, sweepAngle));
}

void Player::lineTo(QPointF point) {
    QPainterPath line(mContext.currentPosition);
    line.lineTo(point);
    drawContinuation(line);
}

void Player::setPixel(const Record& record) {
    RecordReader reader(record);
    const QPointF point = toPicture().map(reader.pointL());
    const QColor colour = reader.colorRef();
    QPainterPath dot;
    dot.addRect(QRectF(std::floor(point.x()), std::floor(point.y()), 1, 1));
    Paint paint;
    paint.brush = colour;
    mCanvas.drawPath(dot, paint);
}

void Player::drawShape(const QPainterPath& shape, bool fill, bool stroke) {
    const QPainterPath inPicture = toPicture().map(shape);
    if (mBuildingPath) {
        mPath.addPath(inPicture);
        mFigureStarted = false;
        return;
    }
    paintInPicture(inPicture, fill, stroke);
}

void Player::drawContinuation(const QPainterPath& lines) {
    const QPainterPath inPicture = toPicture().map(lines);
    if (lines.elementCount() > 0) {
        const QPainterPath::Element last = lines.elementAt(lines.elementCount() - 1);
        mContext.currentPosition = QPointF(last.x, last.y);
    }
    if (!mBuildingPath) {
        paintInPicture(inPicture, false, true);
        return;
    }
    if (mFigureStarted) {
        mPath.connectPath(inPicture);
    } else {
        mPath.addPath(inPicture);
    }
    mFigureStarted = true;
}

void Player::paintInPicture(QPainterPath path, bool fill, bool stroke) {
    const std::optional<QPainter::CompositionMode> mode = compositionOfMix(mContext.mixMode);
    if (!mode) {
        return;
    }
    path.setFillRule(mContext.fillRule);
    Paint paint;
    paint.mode = *mode;
    if (fill) {
        paint.brush = qtBrush(mContext.brush);
    }
    if (stroke) {
        paint.pen = qtPen(mContext.pen, lengthScale(toPicture()), mContext.miterLimit);
    }
    if (mContext.opaqueBackground) {
        paint.background = mContext.backgroundColour;
    }
    mCanvas.drawPath(path, paint);
}

}  // namespace pictarium::emf
