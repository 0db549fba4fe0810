#include "imaging/metafile/emf_window_clip_p.h"

#include <QPolygonF>

#include <algorithm>

namespace pictarium::emf {

namespace {

// One step of Sutherland and Hodgman's clipping: keeps the part of a closed
// polygon on the inner side of one window edge. Cutting against a convex
// window keeps every winding number inside it.
template <typename Inside, typename Crossing>
QPolygonF clipAgainstEdge(const QPolygonF& polygon, Inside inside, Crossing crossing) {
    QPolygonF result;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF from = polygon[i == 0 ? polygon.size() - 1 : i - 1];
        const QPointF to = polygon[i];
        if (inside(to)) {
            if (!inside(from)) {
                result.append(crossing(from, to));
            }
            result.append(to);
        } else if (inside(from)) {
            result.append(crossing(from, to));
        }
    }
    return result;
}

QPointF atX(QPointF from, QPointF to, double x) {
    return QPointF(x, from.y() + (to.y() - from.y()) * (x - from.x()) / (to.x() - from.x()));
}

QPointF atY(QPointF from, QPointF to, double y) {
    return QPointF(from.x() + (to.x() - from.x()) * (y - from.y()) / (to.y() - from.y()), y);
}

bool onSameWindowEdge(QPointF a, QPointF b, QPointF c, const QRectF& window) {
    const auto onVertical = [&](double x) { return a.x() == x && b.x() == x && c.x() == x; };
    const auto onHorizontal = [&](double y) { return a.y() == y && b.y() == y && c.y() == y; };
    return onVertical(window.left()) || onVertical(window.right()) || onHorizontal(window.top()) ||
           onHorizontal(window.bottom());
}

// Cutting leaves runs of points along the window's edges, one per crossing;
// the rasterizer would walk each of them. Only the ends of a run count.
QPolygonF withoutEdgeRuns(const QPolygonF& polygon, const QRectF& window) {
    QPolygonF result;
    for (const QPointF& point : polygon) {
        while (result.size() >= 2 &&
               onSameWindowEdge(result[result.size() - 2], result.last(), point, window)) {
            result.removeLast();
        }
        result.append(point);
    }
    return result;
}

QPolygonF clipPolygon(QPolygonF polygon, const QRectF& window) {
    const double left = window.left();
    const double right = window.right();
    const double top = window.top();
    const double bottom = window.bottom();
    polygon = clipAgainstEdge(
        polygon, [left](QPointF p) { return p.x() >= left; },
        [left](QPointF a, QPointF b) { return atX(a, b, left); });
    polygon = clipAgainstEdge(
        polygon, [right](QPointF p) { return p.x() <= right; },
        [right](QPointF a, QPointF b) { return atX(a, b, right); });
    polygon = clipAgainstEdge(
        polygon, [top](QPointF p) { return p.y() >= top; },
        [top](QPointF a, QPointF b) { return atY(a, b, top); });
    polygon = clipAgainstEdge(
        polygon, [bottom](QPointF p) { return p.y() <= bottom; },
        [bottom](QPointF a, QPointF b) { return atY(a, b, bottom); });
    return withoutEdgeRuns(polygon, window);
}

constexpr int MaxCurveDepth = 16;
constexpr double Flatness = 0.25;

QRectF hullBounds(QPointF a, QPointF b, QPointF c, QPointF d) {
    const auto [left, right] = std::minmax({a.x(), b.x(), c.x(), d.x()});
    const auto [top, bottom] = std::minmax({a.y(), b.y(), c.y(), d.y()});
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// Whether the control points are so close to the thirds of the chord that
// the chord is the curve.
bool isFlat(QPointF start, QPointF control1, QPointF control2, QPointF end) {
    const QPointF off1 = control1 - (2 * start + end) / 3;
    const QPointF off2 = control2 - (start + 2 * end) / 3;
    return std::max(QPointF::dotProduct(off1, off1), QPointF::dotProduct(off2, off2)) <=
           Flatness * Flatness;
}

// Halves the curve until its pieces are flat or away from the window.
void appendCurve(QPolygonF& polygon, QPointF start, QPointF control1, QPointF control2, QPointF end,
                 const QRectF& window, int depth) {
    if (depth == 0 || !hullBounds(start, control1, control2, end).intersects(window) ||
        isFlat(start, control1, control2, end)) {
        polygon.append(end);
        return;
    }
    const QPointF a = (start + control1) / 2;
    const QPointF b = (control1 + control2) / 2;
    const QPointF c = (control2 + end) / 2;
    const QPointF ab = (a + b) / 2;
    const QPointF bc = (b + c) / 2;
    const QPointF middle = (ab + bc) / 2;
    appendCurve(polygon, start, a, ab, middle, window, depth - 1);
    appendCurve(polygon, middle, bc, c, end, window, depth - 1);
}

}  // namespace

QList<QPolygonF> polygonsNearWindow(const QPainterPath& path, const QRectF& window) {
    QList<QPolygonF> polygons;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (element.isMoveTo() || polygons.isEmpty()) {
            polygons.append(QPolygonF());
        }
        QPolygonF& polygon = polygons.last();
        if (element.isCurveTo() && i + 2 < path.elementCount() && !polygon.isEmpty()) {
            appendCurve(polygon, polygon.last(), element, path.elementAt(i + 1),
                        path.elementAt(i + 2), window, MaxCurveDepth);
            i += 2;
        } else {
            polygon.append(element);
        }
    }
    return polygons;
}

QPainterPath clippedToWindow(const QPainterPath& path, const QRectF& window) {
    QPainterPath clipped;
    clipped.setFillRule(path.fillRule());
    for (const QPolygonF& polygon : polygonsNearWindow(path, window)) {
        const QPolygonF part = clipPolygon(polygon, window);
        if (part.size() >= 3) {
            clipped.addPolygon(part);
            clipped.closeSubpath();
        }
    }
    return clipped;
}

}  // namespace pictarium::emf
