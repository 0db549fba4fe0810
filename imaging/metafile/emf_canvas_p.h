#pragma once

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QTransform>

#include <optional>

namespace pictarium::emf {

// How one shape is painted.
struct Paint {
    QBrush brush = Qt::NoBrush;
    QPen pen = Qt::NoPen;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    // Fills the gaps of hatches and dashes when set.
    std::optional<QColor> background;
    // Textures blended between their pixels; pattern brushes stay sharp.
    bool smoothTexture = false;
};

// The bitmap being drawn, in its own pixels. Shapes too far away for any
// device to draw are dropped rather than handed to the rasterizer.
class Canvas {
public:
    explicit Canvas(QImage& picture);

    void setClip(const std::optional<QPainterPath>& clip);
    void drawPath(const QPainterPath& path, const Paint& paint);
    // Draws `source` of the image, placed by `sourceToPicture`.
    void drawImage(const QImage& image, const QRectF& source, const QTransform& sourceToPicture,
                   QPainter::CompositionMode mode, bool smooth, double opacity = 1);
    [[nodiscard]] QPainter& painter() { return mPainter; }
    // The outline the pen draws along the path, as far as it shows near
    // the picture.
    [[nodiscard]] QPainterPath strokeOutline(const QPainterPath& path, const QPen& pen) const;

    [[nodiscard]] static bool isWithinReach(const QRectF& area);

private:
    void drawFarReaching(const QPainterPath& path, const QBrush& brush, const QPen& pen);
    [[nodiscard]] bool affordsSmoothing(const QPainterPath& path, const QBrush& brush,
                                        const QPen& pen);
    [[nodiscard]] QPen affordablePen(const QPen& pen, const QPainterPath& path,
                                     double maxDashes) const;

    QPainter mPainter;
    QRectF mWindow;              // the picture and a margin around it
    QRectF mComfortZone;         // where shapes are drawn as they are
    double mSmoothedLength = 0;  // of the outlines drawn smoothed so far
};

}  // namespace pictarium::emf
