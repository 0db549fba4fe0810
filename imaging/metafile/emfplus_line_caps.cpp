#include "imaging/metafile/emfplus_line_caps_p.h"

#include "imaging/core/byte_reader.h"
#include "imaging/metafile/emfplus_objects_p.h"

#include <QLineF>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>

namespace pictarium::emfplus {

namespace {

constexpr std::uint32_t DefaultCap = 0;
constexpr std::uint32_t ArrowCap = 1;
constexpr std::uint32_t FillPathFlag = 0x1;
constexpr std::uint32_t LinePathFlag = 0x2;

// Cap sizes past this many pen widths are no cap any program draws.
constexpr double LargestCap = 1000;

double size(ByteReader& reader) {
    return std::clamp(readFinite(reader), -LargestCap, LargestCap);
}

QPainterPath pathOfLength(ByteReader& reader) {
    const std::uint32_t length = reader.u32le();
    requireValid(length <= static_cast<std::uint64_t>(reader.remaining()));
    return readPath(reader.take(length));
}

LineCap pathCap(ByteReader& reader) {
    LineCap cap;
    const std::uint32_t flags = reader.u32le();
    (void)reader.u32le();  // base cap
    cap.inset = size(reader);
    reader.skip(16);  // stroke start cap, end cap, join, miter limit
    const double widthScale = size(reader);
    cap.scale = widthScale > 0 ? widthScale : 1;
    reader.skip(16);  // fill and line hot spots, which GDI+ leaves at zero
    if (flags & FillPathFlag) {
        cap.fill = pathOfLength(reader);
    }
    if (flags & LinePathFlag) {
        cap.line = pathOfLength(reader);
    }
    return cap;
}

// The arrow's tip is the line's end; its base lies `height` back, notched
// forward by the middle inset.
LineCap arrowCap(ByteReader& reader) {
    const double width = size(reader);
    const double height = size(reader);
    const double middleInset = size(reader);
    const bool filled = reader.u32le() != 0;
    reader.skip(16);  // line start cap, end cap, join, miter limit
    const double widthScale = size(reader);
    QPainterPath arrow;
    arrow.moveTo(-width / 2, -height);
    arrow.lineTo(0, 0);
    arrow.lineTo(width / 2, -height);
    LineCap cap;
    cap.scale = widthScale > 0 ? widthScale : 1;
    if (filled) {
        arrow.lineTo(0, middleInset - height);
        arrow.closeSubpath();
        cap.fill = arrow;
        cap.inset = height - middleInset;
    } else {
        cap.line = arrow;
    }
    return cap;
}

// The cap's own units to pixels at `end`, the line arriving along `direction`.
QTransform placing(QPointF end, QPointF direction, double scale) {
    const QPointF across(-direction.y(), direction.x());
    return QTransform(across.x() * scale, across.y() * scale, direction.x() * scale,
                      direction.y() * scale, end.x(), end.y());
}

// Caps the end of `line` that `last` names, drawing that end back by the inset.
void capEnd(QPolygonF& line, bool last, const LineCap& cap, double width, CappedFigures& figures) {
    const qsizetype endAt = last ? line.size() - 1 : 0;
    const qsizetype step = last ? -1 : 1;
    const QPointF end = line[endAt];
    qsizetype before = endAt + step;
    while (before >= 0 && before < line.size() && QLineF(line[before], end).length() < 1e-9) {
        before += step;
    }
    if (before < 0 || before >= line.size()) {
        return;  // a figure of one point has no direction
    }
    const double length = QLineF(line[before], end).length();
    const QPointF direction = (end - line[before]) / length;
    const double scale = width * cap.scale;
    const QTransform transform = placing(end, direction, scale);
    figures.fills.addPath(transform.map(cap.fill));
    figures.outlines.addPath(transform.map(cap.line));
    const double inset = std::clamp(cap.inset * scale, 0.0, length);
    line[endAt] = end - direction * inset;
}

}  // namespace

std::optional<LineCap> readLineCap(QByteArrayView data) {
    ByteReader reader(data);
    (void)reader.u32le();  // version
    switch (reader.u32le()) {
        case DefaultCap:
            return pathCap(reader);
        case ArrowCap:
            return arrowCap(reader);
        default:
            return std::nullopt;
    }
}

CappedFigures capFigures(const QPainterPath& path, double width,
                         const std::optional<LineCap>& start, const std::optional<LineCap>& end) {
    CappedFigures figures;
    for (QPolygonF line : path.toSubpathPolygons()) {
        const bool closed = line.size() > 2 && line.isClosed();
        if (!closed && line.size() >= 2) {
            if (start) {
                capEnd(line, false, *start, width, figures);
            }
            if (end) {
                capEnd(line, true, *end, width, figures);
            }
        }
        if (line.isEmpty()) {
            continue;
        }
        figures.lines.moveTo(line[0]);
        for (qsizetype i = 1; i < line.size(); ++i) {
            figures.lines.lineTo(line[i]);
        }
        if (closed) {
            figures.lines.closeSubpath();
        }
    }
    return figures;
}

}  // namespace pictarium::emfplus
