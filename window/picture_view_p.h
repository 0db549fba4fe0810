#pragma once

#include <QAbstractScrollArea>
#include <QImage>

#include <functional>

namespace pictarium {

// A picture at any zoom, in a scrolled view. Fitted to the view by default
// (never enlarged by the fit); smooth when zoomed out, with sharp pixels
// from 100 % up. Only the part on screen is drawn.
class PictureView : public QAbstractScrollArea {
public:
    explicit PictureView(QWidget* parent);

    // Shows a new picture (shared, not copied), fitted to the view.
    void setPicture(const QImage& picture);
    [[nodiscard]] const QImage& picture() const { return mPicture; }

    void fitToView();
    void showActualSize();
    // Multiplies the zoom, keeping the picture's point under `anchor` (in
    // the view's coordinates) where it is.
    void zoomBy(double factor, QPointF anchor);
    // The point zooms from the keyboard keep still: the pointer when it is
    // over the view, else the view's centre.
    [[nodiscard]] QPointF keyboardAnchor() const;

    [[nodiscard]] double zoom() const { return mZoom; }
    [[nodiscard]] bool fitting() const { return mFitting; }
    // Told after every change of the zoom.
    void setZoomChanged(std::function<void()> zoomChanged) {
        mZoomChanged = std::move(zoomChanged);
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    [[nodiscard]] double fittingZoom() const;
    void setZoom(double zoom, QPointF anchor);
    void updateScrollBars();
    // Where the picture's top-left corner is drawn in the view.
    [[nodiscard]] QPointF pictureOrigin() const;
    [[nodiscard]] QImage smoothPart(const QRect& source, QSize target);

    QImage mPicture;
    double mZoom = 1.0;
    bool mFitting = true;
    std::function<void()> mZoomChanged;
    QPoint mDragStart;
    QPoint mScrollAtDragStart;
    bool mDragging = false;
    // The last smoothly scaled part, kept for repaints that show it again.
    qint64 mScaledKey = 0;
    QRect mScaledSource;
    QImage mScaled;
};

}  // namespace pictarium
