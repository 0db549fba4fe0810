#include "imaging/metafile/emf_styles_p.h"

#include <cmath>

namespace pictarium::emf {

namespace {

Qt::PenStyle lineStyle(std::uint32_t style) {
    switch (style & PenStyle::LineMask) {
        case PenStyle::Dash:
            return Qt::DashLine;
        case PenStyle::Dot:
        case PenStyle::Alternate:
            return Qt::DotLine;
        case PenStyle::DashDot:
            return Qt::DashDotLine;
        case PenStyle::DashDotDot:
            return Qt::DashDotDotLine;
        case PenStyle::Null:
            return Qt::NoPen;
        default:
            return Qt::SolidLine;
    }
}

Qt::PenCapStyle capStyle(std::uint32_t style) {
    switch (style & PenStyle::CapMask) {
        case PenStyle::CapSquare:
            return Qt::SquareCap;
        case PenStyle::CapFlat:
            return Qt::FlatCap;
        default:
            return Qt::RoundCap;
    }
}

Qt::PenJoinStyle joinStyle(std::uint32_t style) {
    switch (style & PenStyle::JoinMask) {
        case PenStyle::JoinBevel:
            return Qt::BevelJoin;
        case PenStyle::JoinMiter:
            return Qt::MiterJoin;
        default:
            return Qt::RoundJoin;
    }
}

}  // namespace

Qt::BrushStyle hatchStyle(std::uint32_t hatch) {
    switch (hatch) {
        case 0:
            return Qt::HorPattern;
        case 1:
            return Qt::VerPattern;
        case 2:
            return Qt::FDiagPattern;
        case 3:
            return Qt::BDiagPattern;
        case 4:
            return Qt::CrossPattern;
        default:
            return Qt::DiagCrossPattern;
    }
}

bool isVisible(const LogicalPen& pen) {
    return (pen.style & PenStyle::LineMask) != PenStyle::Null;
}

bool isVisible(const LogicalBrush& brush) {
    return brush.kind != LogicalBrush::Kind::Hollow;
}

QPen qtPen(const LogicalPen& pen, double scale, double miterLimit) {
    if (!isVisible(pen)) {
        return Qt::NoPen;
    }
    // A width of 0 is Qt's cosmetic one-pixel pen too. Widths a hair off
    // a whole number of pixels, from rounding in the header's frame, are
    // taken as that number: Qt draws one-pixel lines far faster.
    double width = pen.width * scale;
    if (const double whole = std::round(width); std::abs(width - whole) < 0.01) {
        width = whole;
    }
    // GDI draws no line thinner than a pixel: a pen narrower than one on
    // the picture is the one-pixel pen, dashes and all.
    if (width < 1) {
        width = 0;
    }
    QPen result(QBrush(pen.colour), std::isfinite(width) ? width : 0, lineStyle(pen.style),
                capStyle(pen.style), joinStyle(pen.style));
    result.setMiterLimit(miterLimit);
    if ((pen.style & PenStyle::LineMask) == PenStyle::UserStyle && !pen.dashes.isEmpty()) {
        // Qt counts dashes in pen widths; user styles count logical units.
        const double unit = std::max(pen.width, 1.0);
        QList<qreal> pattern;
        for (const double length : pen.dashes) {
            pattern.append(std::max(length / unit, 0.01));
        }
        if (pattern.size() % 2 != 0) {
            pattern.append(pattern.last());
        }
        result.setDashPattern(pattern);
    }
    return result;
}

QBrush qtBrush(const LogicalBrush& brush) {
    switch (brush.kind) {
        case LogicalBrush::Kind::Solid:
            return QBrush(brush.colour);
        case LogicalBrush::Kind::Hollow:
            return Qt::NoBrush;
        case LogicalBrush::Kind::Hatched:
            return QBrush(brush.colour, hatchStyle(brush.hatch));
        case LogicalBrush::Kind::Pattern:
            return brush.pattern.isNull() ? QBrush(brush.colour) : QBrush(brush.pattern);
    }
    return Qt::NoBrush;
}

std::optional<QPainter::CompositionMode> compositionOfMix(std::uint32_t mixMode) {
    switch (mixMode) {
        case 6:  // not the destination
            return QPainter::RasterOp_NotDestination;
        case 7:  // xor the pen
            return QPainter::RasterOp_SourceXorDestination;
        case 9:  // mask with the pen
            return QPainter::RasterOp_SourceAndDestination;
        case 11:  // leave as is
            return std::nullopt;
        case 15:  // merge the pen
            return QPainter::RasterOp_SourceOrDestination;
        default:
            return QPainter::CompositionMode_SourceOver;
    }
}

QPainter::CompositionMode compositionOfRasterOperation(std::uint32_t operation) {
    switch (operation) {
        case 0x008800C6:  // source and destination
            return QPainter::RasterOp_SourceAndDestination;
        case 0x00EE0086:  // source or destination
            return QPainter::RasterOp_SourceOrDestination;
        case 0x00660046:  // source xor destination
            return QPainter::RasterOp_SourceXorDestination;
        case 0x00330008:  // not source
            return QPainter::RasterOp_NotSource;
        case 0x00440328:  // source and not destination
            return QPainter::RasterOp_SourceAndNotDestination;
        case 0x001100A6:  // not (source or destination)
            return QPainter::RasterOp_NotSourceAndNotDestination;
        case 0x00BB0226:  // not source or destination
            return QPainter::RasterOp_NotSourceOrDestination;
        default:
            return QPainter::CompositionMode_SourceOver;
    }
}

QPen withAffordableDashes(const QPen& pen, const QPainterPath& path, double maxDashes) {
    // Qt draws the dashes of one-pixel pens itself, only where they show.
    if (pen.style() == Qt::SolidLine || pen.style() == Qt::NoPen || pen.isCosmetic()) {
        return pen;
    }
    double patternLength = 0;
    for (const qreal length : pen.dashPattern()) {
        patternLength += length;
    }
    patternLength *= pen.widthF();
    if (patternLength > 0 && path.length() / patternLength <= maxDashes) {
        return pen;
    }
    QPen solid = pen;
    solid.setStyle(Qt::SolidLine);
    return solid;
}

double lengthScale(const QTransform& transform) {
    return std::sqrt(
        std::abs(transform.m11() * transform.m22() - transform.m12() * transform.m21()));
}

}  // namespace pictarium::emf
