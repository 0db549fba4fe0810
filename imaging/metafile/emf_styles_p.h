#pragma once

#include "imaging/metafile/emf_device_context_p.h"

#include <QBrush>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cstdint>
#include <optional>

namespace pictarium::emf {

// The pen in bitmap pixels, `scale` being the bitmap pixels per logical unit.
[[nodiscard]] QPen qtPen(const LogicalPen& pen, double scale, double miterLimit);

[[nodiscard]] QBrush qtBrush(const LogicalBrush& brush);
// The Qt pattern of a GDI hatch style (0 to 5, as GDI+ numbers them too).
[[nodiscard]] Qt::BrushStyle hatchStyle(std::uint32_t hatch);

// Whether the pen draws anything at all.
[[nodiscard]] bool isVisible(const LogicalPen& pen);
[[nodiscard]] bool isVisible(const LogicalBrush& brush);

// How shapes combine with what is already drawn, after the mix mode;
// none when they leave it untouched.
[[nodiscard]] std::optional<QPainter::CompositionMode> compositionOfMix(std::uint32_t mixMode);

// How a bitmap combines with what is already drawn, after a raster
// operation that involves the source bitmap.
[[nodiscard]] QPainter::CompositionMode compositionOfRasterOperation(std::uint32_t operation);

// The pen, solid instead of dashed when the path would take more than
// `maxDashes` dashes: stroking them could take minutes.
[[nodiscard]] QPen withAffordableDashes(const QPen& pen, const QPainterPath& path,
                                        double maxDashes);

// How much a transform enlarges lengths on average.
[[nodiscard]] double lengthScale(const QTransform& transform);

}  // namespace pictarium::emf
