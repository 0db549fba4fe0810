#include "imaging/metafile/emf_piecewise_stroke_p.h"

#include <QLineF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace pictarium::emf {

namespace {

// Shorter paths are stroked whole: pieces would only add work.
constexpr int LeastElements = 16;
// How far joins and caps reach back over their segments, in pixels, so
// that no seam of half-covered pixels shows where they meet.
constexpr double Overlap = 1;

QPointF unit(QPointF vector) {
    const double length = std::hypot(vector.x(), vector.y());
    return length > 0 ? vector / length : QPointF();
}

QPointF normalOf(QPointF direction) {
    return {-direction.y(), direction.x()};
}

double dot(QPointF a, QPointF b) {
    return a.x() * b.x() + a.y() * b.y();
}

// Adds a convex polygon turning one way, so that overlapping parts of a
// winding-filled path add up instead of cancelling.
void addTurningOneWay(QPainterPath& path, QPolygonF polygon) {
    double twiceArea = 0;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF& a = polygon[i];
        const QPointF& b = polygon[(i + 1) % polygon.size()];
        twiceArea += a.x() * b.y() - b.x() * a.y();
    }
    if (twiceArea < 0) {
        std::reverse(polygon.begin(), polygon.end());
    }
    path.addPolygon(polygon);
    path.closeSubpath();
}

// The part of a segment within `length` of `end`, `direction` pointing
// along the segment away from it.
QPolygonF segmentEnd(QPointF end, QPointF direction, double length, double half) {
    const QPointF across = normalOf(direction) * half;
    const QPointF far = end + direction * length;
    return {end + across, far + across, far - across, end - across};
}

// The corner between a segment arriving along `in` and one leaving along
// `out` at `vertex`, with the ends of both segments filled as one shape:
// where separately smoothed shapes meet edge to edge, half-covered pixels
// would show as a seam across the line.
void drawJoin(QPainter& painter, const QPen& pen, QPointF vertex, QPointF in, QPointF out,
              double reachIn, double reachOut) {
    const double half = pen.widthF() / 2;
    if (pen.joinStyle() == Qt::RoundJoin) {
        painter.drawEllipse(vertex, half, half);  // it covers both ends
        return;
    }
    QPainterPath patch;
    patch.setFillRule(Qt::WindingFill);
    addTurningOneWay(patch, segmentEnd(vertex, -in, reachIn, half));
    addTurningOneWay(patch, segmentEnd(vertex, out, reachOut, half));
    const double turn = dot(normalOf(in), out);
    if (std::abs(turn) > 1e-9) {
        // The outer side of the turn is where the two edges part.
        const double side = turn > 0 ? -1 : 1;
        const QPointF normalIn = normalOf(in) * side * half;
        const QPointF normalOut = normalOf(out) * side * half;
        QPolygonF corner{vertex, vertex + normalIn};
        const QPointF bisector = unit(normalIn + normalOut);
        const double cosine = dot(bisector, unit(normalIn));
        const bool mitred = pen.joinStyle() == Qt::MiterJoin || pen.joinStyle() == Qt::SvgMiterJoin;
        if (mitred && cosine > 0 && 1 / cosine <= pen.miterLimit()) {
            corner << vertex + bisector * (half / cosine);
        }
        corner << vertex + normalOut;
        addTurningOneWay(patch, corner);
    }
    painter.drawPath(patch);
}

// The pen's cap at `end`, the segment arriving along `direction`.
void drawCap(QPainter& painter, const QPen& pen, QPointF end, QPointF direction, double reach) {
    const double half = pen.widthF() / 2;
    if (pen.capStyle() == Qt::RoundCap) {
        painter.drawEllipse(end, half, half);
        return;
    }
    if (pen.capStyle() != Qt::SquareCap) {
        return;
    }
    const QPointF front = end + direction * half;
    painter.drawPolygon(segmentEnd(front, -direction, half + reach, half));
}

void strokeFigure(QPainter& painter, const QPolygonF& points, const QPen& pen) {
    const bool closed = points.size() > 2 && points.first() == points.last();
    QPen flat = pen;
    flat.setCapStyle(Qt::FlatCap);
    painter.setPen(flat);
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        if (points[i] != points[i + 1]) {
            painter.drawLine(QLineF(points[i], points[i + 1]));
        }
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(pen.brush());
    // The segments that meet at each vertex, skipping repeated points.
    QPolygonF corners;
    for (const QPointF& point : points) {
        if (corners.isEmpty() || corners.last() != point) {
            corners.append(point);
        }
    }
    if (corners.size() < 2) {
        return;
    }
    const auto reach = [](QPointF from, QPointF to) {
        return std::min(Overlap, QLineF(from, to).length() / 2);
    };
    const qsizetype last = corners.size() - 1;
    for (qsizetype i = 1; i < last; ++i) {
        drawJoin(painter, pen, corners[i], unit(corners[i] - corners[i - 1]),
                 unit(corners[i + 1] - corners[i]), reach(corners[i - 1], corners[i]),
                 reach(corners[i], corners[i + 1]));
    }
    if (closed && last >= 2) {
        drawJoin(painter, pen, corners[0], unit(corners[0] - corners[last - 1]),
                 unit(corners[1] - corners[0]), reach(corners[last - 1], corners[0]),
                 reach(corners[0], corners[1]));
        return;
    }
    drawCap(painter, pen, corners[0], unit(corners[0] - corners[1]), reach(corners[0], corners[1]));
    drawCap(painter, pen, corners[last], unit(corners[last] - corners[last - 1]),
            reach(corners[last - 1], corners[last]));
}

}  // namespace

bool isStrokedAsOutline(const QPen& pen) {
    return pen.style() != Qt::NoPen && !pen.isCosmetic() && pen.widthF() > 1;
}

bool canStrokeInPieces(const QPen& pen, QPainter::CompositionMode mode, const QPainterPath& path) {
    return mode == QPainter::CompositionMode_SourceOver && isStrokedAsOutline(pen) &&
           pen.style() == Qt::SolidLine && pen.brush().style() == Qt::SolidPattern &&
           pen.color().alpha() == 255 && path.elementCount() >= LeastElements;
}

void strokeInPieces(QPainter& painter, const QPainterPath& path, const QPen& pen) {
    for (const QPolygonF& figure : path.toSubpathPolygons()) {
        if (figure.size() >= 2) {
            strokeFigure(painter, figure, pen);
        }
    }
}

}  // namespace pictarium::emf
