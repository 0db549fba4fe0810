#include "window/picture_view_p.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace pictarium {

namespace {

constexpr double MinimumZoom = 1.0 / 64;
constexpr double MaximumZoom = 32.0;
const QColor Background(48, 48, 48);

// Part of a picture without copying its pixels, where its rows allow it.
QImage regionOf(const QImage& picture, const QRect& region) {
    if (picture.depth() < 8) {
        return picture.copy(region);
    }
    const int bytesPerPixel = picture.depth() / 8;
    QImage part(picture.constScanLine(region.top()) + region.left() * bytesPerPixel, region.width(),
                region.height(), picture.bytesPerLine(), picture.format());
    part.setColorTable(picture.colorTable());
    return part;
}

}  // namespace

PictureView::PictureView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setCursor(Qt::OpenHandCursor);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Window, Background);
    viewport()->setPalette(colours);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
}

void PictureView::setPicture(const QImage& picture) {
    mPicture = picture;
    mScaled = QImage();
    fitToView();
}

double PictureView::fittingZoom() const {
    if (mPicture.isNull()) {
        return 1.0;
    }
    const QSize room = maximumViewportSize();
    const double across = static_cast<double>(room.width()) / mPicture.width();
    const double down = static_cast<double>(room.height()) / mPicture.height();
    return std::clamp(std::min({across, down, 1.0}), MinimumZoom, 1.0);
}

void PictureView::fitToView() {
    mFitting = true;
    setZoom(fittingZoom(), QPointF(viewport()->rect().center()));
}

void PictureView::showActualSize() {
    mFitting = false;
    setZoom(1.0, keyboardAnchor());
}

void PictureView::zoomBy(double factor, QPointF anchor) {
    mFitting = false;
    setZoom(std::clamp(mZoom * factor, MinimumZoom, MaximumZoom), anchor);
}

QPointF PictureView::keyboardAnchor() const {
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    return viewport()->rect().contains(pointer) ? QPointF(pointer)
                                                : QPointF(viewport()->rect().center());
}

QPointF PictureView::pictureOrigin() const {
    const QSizeF shown = QSizeF(mPicture.size()) * mZoom;
    const QSize room = viewport()->size();
    const double left = shown.width() < room.width() ? (room.width() - shown.width()) / 2
                                                     : -horizontalScrollBar()->value();
    const double top = shown.height() < room.height() ? (room.height() - shown.height()) / 2
                                                      : -verticalScrollBar()->value();
    return {left, top};
}

void PictureView::setZoom(double zoom, QPointF anchor) {
    // The picture's point under the anchor, before the change.
    const QPointF spot = (anchor - pictureOrigin()) / mZoom;
    mZoom = zoom;
    updateScrollBars();
    const QPointF shift = spot * mZoom - anchor;
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(shift.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(shift.y())));
    viewport()->update();
    if (mZoomChanged) {
        mZoomChanged();
    }
}

void PictureView::updateScrollBars() {
    const QSize shown = (QSizeF(mPicture.size()) * mZoom).toSize();
    // A picture that fits the view without scroll bars needs none, even
    // while the bars of a larger zoom still take room.
    const QSize whole = maximumViewportSize();
    const bool fits = shown.width() <= whole.width() && shown.height() <= whole.height();
    const QSize room = fits ? shown : viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, shown.width() - room.width()));
    verticalScrollBar()->setRange(0, std::max(0, shown.height() - room.height()));
    horizontalScrollBar()->setPageStep(room.width());
    verticalScrollBar()->setPageStep(room.height());
    horizontalScrollBar()->setSingleStep(std::max(1, room.width() / 20));
    verticalScrollBar()->setSingleStep(std::max(1, room.height() / 20));
}

void PictureView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (mFitting) {
        fitToView();
    } else {
        updateScrollBars();
    }
}

void PictureView::paintEvent(QPaintEvent*) {
    if (mPicture.isNull()) {
        return;
    }
    QPainter painter(viewport());
    const QPointF origin = pictureOrigin();
    const QRectF shown(origin, QSizeF(mPicture.size()) * mZoom);
    const QRectF target = shown.intersected(QRectF(viewport()->rect()));
    if (target.isEmpty()) {
        return;
    }
    const QRectF source((target.topLeft() - origin) / mZoom, target.size() / mZoom);
    if (mZoom >= 1.0) {
        // Each picture pixel a sharp square.
        painter.drawImage(target, mPicture, source);
        return;
    }
    // Zoomed out: an area average of the part on screen, so fine detail
    // does not alias.
    const QRect whole = source.toAlignedRect().intersected(mPicture.rect());
    const QRectF wholeTarget(origin + QPointF(whole.topLeft()) * mZoom,
                             QSizeF(whole.size()) * mZoom);
    const QSize size = wholeTarget.size().toSize().expandedTo(QSize(1, 1));
    painter.drawImage(wholeTarget.topLeft(), smoothPart(whole, size));
}

QImage PictureView::smoothPart(const QRect& source, QSize target) {
    if (mScaledKey != mPicture.cacheKey() || mScaledSource != source || mScaled.size() != target) {
        mScaled = regionOf(mPicture, source)
                      .scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        mScaledKey = mPicture.cacheKey();
        mScaledSource = source;
    }
    return mScaled;
}

void PictureView::wheelEvent(QWheelEvent* event) {
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y();
    if (steps != 0) {
        zoomBy(std::pow(1.25, steps / 120.0), event->position());
    }
    event->accept();
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    mDragging = true;
    mDragStart = event->position().toPoint();
    mScrollAtDragStart = {horizontalScrollBar()->value(), verticalScrollBar()->value()};
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    if (!mDragging) {
        return;
    }
    const QPoint moved = event->position().toPoint() - mDragStart;
    horizontalScrollBar()->setValue(mScrollAtDragStart.x() - moved.x());
    verticalScrollBar()->setValue(mScrollAtDragStart.y() - moved.y());
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        mDragging = false;
        viewport()->setCursor(Qt::OpenHandCursor);
    }
}

// The arrows, Page Up/Down, Home and End browse the base in the viewer;
// they must reach the window rather than scroll.
void PictureView::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}

}  // namespace pictarium
