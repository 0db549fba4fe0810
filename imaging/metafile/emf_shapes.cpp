#include "imaging/metafile/emf_shapes_p.h"

#include <cmath>
#include <numbers>

namespace pictarium::emf {

namespace {

constexpr double DegreesPerRadian = 180 / std::numbers::pi;

// The angle Qt's arcs use for the point of the ellipse on the ray through `point`.
double ellipseAngle(const QRectF& box, QPointF point) {
    const QPointF centre = box.center();
    const double dx = (point.x() - centre.x()) / (box.width() / 2);
    const double dy = (point.y() - centre.y()) / (box.height() / 2);
    if (dx == 0 && dy == 0) {
        return 0;
    }
    return std::atan2(-dy, dx) * DegreesPerRadian;
}

double sweepBetween(double start, double end, bool clockwise) {
    double sweep = end - start;
    if (clockwise) {
        while (sweep >= 0) {
            sweep -= 360;
        }
    } else {
        while (sweep <= 0) {
            sweep += 360;
        }
    }
    return sweep;
}

}  // namespace

QPainterPath arcPath(ArcKind kind, const QRectF& box, QPointF start, QPointF end, bool clockwise) {
    QPainterPath path;
    if (box.width() <= 0 || box.height() <= 0) {
        return path;
    }
    const double startAngle = ellipseAngle(box, start);
    const double sweep = sweepBetween(startAngle, ellipseAngle(box, end), clockwise);
    if (kind == ArcKind::Pie) {
        path.moveTo(box.center());
    } else {
        path.arcMoveTo(box, startAngle);
    }
    path.arcTo(box, startAngle, sweep);
    if (kind != ArcKind::Open) {
        path.closeSubpath();
    }
    return path;
}

QPainterPath angleArcPath(QPointF from, QPointF centre, double radius, double startAngle,
                          double sweepAngle) {
    QPainterPath path(from);
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    path.arcTo(box, startAngle, std::clamp(sweepAngle, -360.0, 360.0));
    return path;
}

QPainterPath roundedRectanglePath(const QRectF& box, QSizeF corner) {
    QPainterPath path;
    const double radiusX = std::min(std::abs(corner.width()) / 2, box.width() / 2);
    const double radiusY = std::min(std::abs(corner.height()) / 2, box.height() / 2);
    path.addRoundedRect(box, radiusX, radiusY);
    return path;
}

QPainterPath bezierPath(const QPolygonF& points, const QPointF* from) {
    QPainterPath path;
    qsizetype next = 0;
    if (from) {
        path.moveTo(*from);
    } else if (!points.isEmpty()) {
        path.moveTo(points.first());
        next = 1;
    }
    for (; next + 3 <= points.size(); next += 3) {
        path.cubicTo(points[next], points[next + 1], points[next + 2]);
    }
    return path;
}

QPainterPath polyDrawPath(QPointF from, const QPolygonF& points, QByteArrayView types) {
    constexpr std::uint8_t CloseFigure = 0x01;
    constexpr std::uint8_t LineTo = 0x02;
    constexpr std::uint8_t BezierTo = 0x04;
    constexpr std::uint8_t MoveTo = 0x06;
    QPainterPath path(from);
    const qsizetype count = std::min(points.size(), types.size());
    for (qsizetype i = 0; i < count; ++i) {
        const auto type = static_cast<std::uint8_t>(types[i]);
        const std::uint8_t kind = type & ~CloseFigure;
        if (kind == MoveTo) {
            path.moveTo(points[i]);
            continue;
        }
        if (kind == BezierTo && i + 2 < count) {
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
            i += 2;
        } else if (kind == LineTo || kind == BezierTo) {
            path.lineTo(points[i]);
        }
        if ((static_cast<std::uint8_t>(types[i]) & CloseFigure) != 0) {
            path.closeSubpath();
        }
    }
    return path;
}

}  // namespace pictarium::emf
