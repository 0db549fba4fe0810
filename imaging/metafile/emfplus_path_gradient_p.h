#pragma once

#include "imaging/metafile/emfplus_objects_p.h"

#include <QColor>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>

namespace pictarium::emfplus {

// GDI+ shades a path gradient over the triangles between its centre point
// and each side of its boundary, blending the colours of their corners:
// the centre colour, and the surrounding colour of each boundary point
// (the last one for the points past the list). It paints inside `area`,
// the boundary's own shape, alone.
[[nodiscard]] Brush shadedPathGradient(QPointF centre, const QColor& centreColour,
                                       const QPolygonF& boundary, const QList<QColor>& surrounding,
                                       const QPainterPath& area);

}  // namespace pictarium::emfplus
