#include "emf_canvas.h"

#include "emf_styles.h"
#include "emf_window_clip.h"

#include <QPainterPathStroker>

#include <cmath>

namespace pictarium::emf {

namespace {

// Device coordinates beyond 27 bits are beyond what GDI itself draws.
constexpr double Reach = 134217728.0;

// How far outside the picture shapes are drawn as they are: enough for
// the smoothing of edges.
constexpr double WindowMargin = 64;

bool isReachable(double coordinate) {
    return std::isfinite(coordinate) && std::abs(coordinate) <= Reach;
}

}  // namespace

Canvas::Canvas(QImage& picture)
    : mPainter(&picture),
      mWindow(QRectF(picture.rect())
                  .adjusted(-WindowMargin, -WindowMargin, WindowMargin, WindowMargin)) {
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
    mPainter.setCompositionMode(paint.mode);
    if (paint.background) {
        mPainter.setBackgroundMode(Qt::OpaqueMode);
        mPainter.setBackground(*paint.background);
    } else {
        mPainter.setBackgroundMode(Qt::TransparentMode);
    }
    const QPen pen = withAffordableDashes(paint.pen, path);
    const double strokeReach = pen.style() == Qt::NoPen ? 0 : pen.widthF() * pen.miterLimit();
    if (mWindow.contains(bounds.adjusted(-strokeReach, -strokeReach, strokeReach, strokeReach))) {
        mPainter.setBrush(paint.brush);
        mPainter.setPen(pen);
        mPainter.drawPath(path);
        return;
    }
    drawFarReaching(path, paint.brush, pen);
}

// Fills and strokes a path that reaches far outside the picture as
// outlines cut to the window around it.
void Canvas::drawFarReaching(const QPainterPath& path, const QBrush& brush, const QPen& pen) {
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
    mPainter.setBrush(pen.brush());
    mPainter.drawPath(clippedToWindow(outline, mWindow));
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
