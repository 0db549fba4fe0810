#pragma once

#include <QPainterPath>
#include <QRectF>

namespace pictarium::emf {

// The path as polygons cut to the window, with the same fill inside it.
// The rasterizer walks every scanline an edge spans, even far outside
// the picture; cut edges span no more than the window.
[[nodiscard]] QPainterPath clippedToWindow(const QPainterPath& path, const QRectF& window);

}  // namespace pictarium::emf
