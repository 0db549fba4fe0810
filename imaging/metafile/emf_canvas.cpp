#include "imaging/metafile/emf_canvas_p.h"

#include "imaging/metafile/emf_piecewise_stroke_p.h"
#include "imaging/metafile/emf_styles_p.h"
#include "imaging/metafile/emf_window_clip_p.h"

#include <QPainterPathStroker>

#include <cmath>

namespace pictarium::emf {

namespace {

// Device coordinates beyond 27 bits are beyond what GDI itself draws.
constexpr double Reach = 134217728.0;

// How far outside the picture far-reaching shapes are cut: enough for the
// smoothing of edges.
constexpr double WindowMargin = 64;
// Shapes within this much of the picture are drawn as they are.
constexpr double ComfortMargin = 4096;
// Dashes a shape may take: as Qt draws them, or, far-reaching, as outlines.
constexpr double MaxDashes = 10000;
constexpr double MaxOutlinedDashes = 1000;
constexpr int MaxFarReachingElements = 20000;

// Qt's smoothing rasterizer slows down with the square of a shape's
// outline when its edges share many scan lines: a zigzag of a hundred
// points across the page takes half a second, of ten thousand a minute.
// Shapes with longer outlines, and any once the picture has smoothed this
// much, are drawn with hard edges, as GDI draws everything.
constexpr double MostSmoothedOutline = 40000;
constexpr double SmoothingBudget = 2000000;

// The length in pixels of the path's outline, measured along the axes.
double outlineLength(const QPainterPath& path) {
    double length = 0;
    for (int i = 1; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (!element.isMoveTo()) {
            const QPainterPath::Element previous = path.elementAt(i - 1);
            length += std::abs(element.x - previous.x) + std::abs(element.y - previous.y);
        }
    }
    return length;
}

bool isReachable(double coordinate) {
    return std::isfinite(coordinate) && std::abs(coordinate) <= Reach;
}

}  // namespace

Canvas::Canvas(QImage& picture)
    : mPainter(&picture),
      mWindow(QRectF(picture.rect())
                  .adjusted(-WindowMargin, -WindowMargin, WindowMargin, WindowMargin)),
      mComfortZone(QRectF(picture.rect())
                       .adjusted(-ComfortMargin, -ComfortMargin, ComfortMargin, ComfortMargin)) {
    mPainter.setRenderHint(QPainter::Antialiasing);
    mPainter.setRenderHint(QPainter::TextAntialiasing);
}

bool Canvas::isWithinReach(const QRectF& area) {
    return isReachable(area.left()) && isReachable(area.right()) && isReachable(area.top()) &&
           isReachable(area.bottom());
}

void Canvas::setClip(const std::optional<QPainterPath>& clip) {
    mPainter.resetTransform();
    if (clip) {
        mPainter.setClipPath(*clip, Qt::ReplaceClip);
    } else {
        mPainter.setClipping(false);
    }
}

void Canvas::drawPath(const QPainterPath& path, const Paint& paint) {
    const QRectF bounds = path.controlPointRect();
    if (path.isEmpty() || !isWithinReach(bounds)) {
        return;
    }
    const QPen pen = affordablePen(paint.pen, path, MaxDashes);
    const bool inPieces = canStrokeInPieces(pen, paint.mode, path);
    mPainter.setCompositionMode(paint.mode);
    // Raster operations combine whole pixels: with partial coverage at the
    // edges, shapes that tile the plane (a gradient drawn as thin rings
    // twice with xor around a mask) would leave their seams behind.
    mPainter.setRenderHint(QPainter::Antialiasing,
                           paint.mode == QPainter::CompositionMode_SourceOver &&
                               affordsSmoothing(path, paint.brush, inPieces ? Qt::NoPen : pen));
    mPainter.setRenderHint(QPainter::SmoothPixmapTransform, paint.smoothTexture);
    if (paint.background) {
        mPainter.setBackgroundMode(Qt::OpaqueMode);
        mPainter.setBackground(*paint.background);
    } else {
        mPainter.setBackgroundMode(Qt::TransparentMode);
    }
    const double strokeReach = pen.style() == Qt::NoPen ? 0 : pen.widthF() * pen.miterLimit();
    if (!mComfortZone.contains(
            bounds.adjusted(-strokeReach, -strokeReach, strokeReach, strokeReach))) {
        drawFarReaching(path, paint.brush, pen);
        return;
    }
    mPainter.setBrush(paint.brush);
    if (!inPieces) {
        mPainter.setPen(pen);
        mPainter.drawPath(path);
        return;
    }
    mPainter.setPen(Qt::NoPen);
    mPainter.drawPath(path);
    mPainter.setRenderHint(QPainter::Antialiasing);  // pieces are cheap to smooth
    strokeInPieces(mPainter, path, pen);
}

bool Canvas::affordsSmoothing(const QPainterPath& path, const QBrush& brush, const QPen& pen) {
    const double outline = outlineLength(path);
    double length = brush.style() == Qt::NoBrush ? 0 : outline;
    if (isStrokedAsOutline(pen)) {
        length += 2 * outline;  // a stroke's outline runs along both sides
    }
    if (length > MostSmoothedOutline || mSmoothedLength + length > SmoothingBudget) {
        return false;
    }
    mSmoothedLength += length;
    return true;
}

// Fills and strokes a path that reaches far outside the picture as
// outlines cut to the window around it.
void Canvas::drawFarReaching(const QPainterPath& path, const QBrush& brush, const QPen& pen) {
    // Cutting and outlining cost a lot per element; paths this large and
    // this far-reaching come from repeated widening, not from drawings.
    if (path.elementCount() > MaxFarReachingElements) {
        return;
    }
    mPainter.setPen(Qt::NoPen);
    if (brush.style() != Qt::NoBrush) {
        mPainter.setBrush(brush);
        mPainter.drawPath(clippedToWindow(path, mWindow));
    }
    if (pen.style() == Qt::NoPen) {
        return;
    }
    if (pen.isCosmetic()) {
        // Qt cuts one-pixel lines to the picture itself.
        mPainter.strokePath(path, pen);
        return;
    }
    mPainter.setBrush(pen.brush());
    mPainter.drawPath(clippedToWindow(strokeOutline(path, pen), mWindow));
}

QPainterPath Canvas::strokeOutline(const QPainterPath& path, const QPen& anyPen) const {
    const QPen pen = affordablePen(anyPen, path, MaxOutlinedDashes);
    // Curves are stroked as the lines that stand for them near the picture.
    const double reach = pen.widthF() * std::max(pen.miterLimit(), 1.0);
    QPainterPath lines;
    for (const QPolygonF& polygon :
         polygonsNearWindow(path, mWindow.adjusted(-reach, -reach, reach, reach))) {
        lines.addPolygon(polygon);
        if (polygon.size() > 2 && polygon.first() == polygon.last()) {
            lines.closeSubpath();
        }
    }
    QPainterPath outline = QPainterPathStroker(pen).createStroke(lines);
    outline.setFillRule(Qt::WindingFill);
    return outline;
}

// Pens wider than a few times the picture paint all of it wherever they
// pass near; narrower ones keep the stroker's work within reason.
QPen Canvas::affordablePen(const QPen& pen, const QPainterPath& path, double maxDashes) const {
    QPen affordable = pen;
    const double widest = 4 * (mWindow.width() + mWindow.height());
    if (affordable.widthF() > widest) {
        affordable.setWidthF(widest);
    }
    return withAffordableDashes(affordable, path, maxDashes);
}

void Canvas::drawImage(const QImage& image, const QRectF& source, const QTransform& sourceToPicture,
                       QPainter::CompositionMode mode, bool smooth, double opacity) {
    if (image.isNull() || source.isEmpty() || !isWithinReach(sourceToPicture.mapRect(source))) {
        return;
    }
    mPainter.save();
    mPainter.setTransform(sourceToPicture);
    mPainter.setCompositionMode(mode);
    mPainter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    mPainter.setOpacity(opacity);
    mPainter.drawImage(source, image, source);
    mPainter.restore();
}

}  // namespace pictarium::emf
