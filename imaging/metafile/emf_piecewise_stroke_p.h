#pragma once

#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace pictarium::emf {

// Whether Qt strokes the pen as an outline filled by its smoothing
// rasterizer; lines of a pixel or less have their own fast way through Qt.
[[nodiscard]] bool isStrokedAsOutline(const QPen& pen);

// Qt's antialiasing rasterizer slows down sharply with the scan lines a
// path spans and the edges it has: a chart's noisy series of a few hundred
// steep segments can take a second to stroke whole, while Qt draws each
// straight segment on its own in microseconds. Only solid opaque pens
// painting over the picture qualify: the pieces overlap, which neither
// dashes nor raster operations would survive.
[[nodiscard]] bool canStrokeInPieces(const QPen& pen, QPainter::CompositionMode mode,
                                     const QPainterPath& path);

// Strokes the path as GDI does: each segment with flat ends, then the
// pen's join at every vertex and its cap at the ends of open figures.
void strokeInPieces(QPainter& painter, const QPainterPath& path, const QPen& pen);

}  // namespace pictarium::emf
