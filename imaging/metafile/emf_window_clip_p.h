#pragma once

#include <QList>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

namespace pictarium::emf {

// Shapes that reach far outside the picture cost the rasterizer every
// scanline their edges span, and curves flattened at full precision cost
// points all along their length. These keep that work to the window
// around the picture.

// The path's figures as polygons. Curves are flattened finely only where
// they come near the window; elsewhere their chords stand for them, which
// changes nothing inside the window. A closed figure ends on its start.
[[nodiscard]] QList<QPolygonF> polygonsNearWindow(const QPainterPath& path, const QRectF& window);

// The path as polygons cut to the window, with the same fill inside it.
[[nodiscard]] QPainterPath clippedToWindow(const QPainterPath& path, const QRectF& window);

}  // namespace pictarium::emf
