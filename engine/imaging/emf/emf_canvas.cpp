#include "emf_canvas.h"

#include "emf_styles.h"

#include <cmath>

namespace pictarium::emf {

namespace {

// Device coordinates beyond 27 bits are beyond what GDI itself draws.
constexpr double Reach = 134217728.0;

bool isReachable(double coordinate) {
    return std::isfinite(coordinate) && std::abs(coordinate) <= Reach;
}

}  // namespace

Canvas::Canvas(QImage& picture) : mPainter(&picture) {
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
    if (path.isEmpty() || !isWithinReach(path.controlPointRect())) {
        return;
    }
    mPainter.setCompositionMode(paint.mode);
    mPainter.setBrush(paint.brush);
    mPainter.setPen(withAffordableDashes(paint.pen, path));
    if (paint.background) {
        mPainter.setBackgroundMode(Qt::OpaqueMode);
        mPainter.setBackground(*paint.background);
    } else {
        mPainter.setBackgroundMode(Qt::TransparentMode);
    }
    mPainter.drawPath(path);
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
