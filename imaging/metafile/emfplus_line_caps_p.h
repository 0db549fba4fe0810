#pragma once

#include <QByteArrayView>
#include <QPainterPath>

#include <optional>

namespace pictarium::emfplus {

// A custom line cap of GDI+: shapes drawn at an open line's end, in pen
// widths, the y axis pointing out of the line and the end at the origin.
struct LineCap {
    QPainterPath fill;  // filled with the pen's brush
    QPainterPath line;  // stroked with the pen
    double inset = 0;   // how far short of its end the line stops, in pen widths
    double scale = 1;   // pen widths to one unit of the shapes
};

// A custom line cap object's data: paths of its own, or GDI+'s adjustable
// arrow. Throws MalformedPicture on data too short for what it claims.
[[nodiscard]] std::optional<LineCap> readLineCap(QByteArrayView data);

// The open figures of a path with their caps, all in the same pixels.
struct CappedFigures {
    QPainterPath lines;     // the path, its capped ends drawn back by the insets
    QPainterPath fills;     // the caps' filled shapes
    QPainterPath outlines;  // the caps' stroked shapes
};

// Places the caps at the ends of the open figures of `path`, for a pen of
// `width` pixels; closed figures have no ends and are kept as they are.
[[nodiscard]] CappedFigures capFigures(const QPainterPath& path, double width,
                                       const std::optional<LineCap>& start,
                                       const std::optional<LineCap>& end);

}  // namespace pictarium::emfplus
