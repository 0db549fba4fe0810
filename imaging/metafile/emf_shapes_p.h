#pragma once

#include <QByteArrayView>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>

namespace pictarium::emf {

// Shapes as the drawing records describe them, built in logical units.

enum class ArcKind { Open, Chord, Pie };

// An elliptic arc inside `box`, from the ray through `start` to the ray
// through `end` (the same ray: the whole ellipse). `clockwise` is the
// direction as it appears with y growing downwards.
[[nodiscard]] QPainterPath arcPath(ArcKind kind, const QRectF& box, QPointF start, QPointF end,
                                   bool clockwise);

// A circular arc around `centre`, angles in degrees counter-clockwise,
// joined by a line from `from`.
[[nodiscard]] QPainterPath angleArcPath(QPointF from, QPointF centre, double radius,
                                        double startAngle, double sweepAngle);

[[nodiscard]] QPainterPath roundedRectanglePath(const QRectF& box, QSizeF corner);

// Cubic Béziers: an end point then two control points and an end point
// per curve. The curves start at `points`' first point, or at `from` when
// given (the "to" forms); a curve short of its three points is dropped.
[[nodiscard]] QPainterPath bezierPath(const QPolygonF& points, const QPointF* from = nullptr);

// Line and curve segments with a type byte per point (move, line,
// Bézier, each possibly closing its figure), starting at `from`.
[[nodiscard]] QPainterPath polyDrawPath(QPointF from, const QPolygonF& points,
                                        QByteArrayView types);

}  // namespace pictarium::emf
