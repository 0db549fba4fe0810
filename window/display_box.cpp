#include "window/display_box_p.h"

#include <QPainter>

namespace pictarium {

DisplayBox::DisplayBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    // The sunken edges' light side would vanish against the light panel
    // around the box: a grey keeps all four edges in sight.
    white.setColor(QPalette::Light, QColor(0xA0, 0xA0, 0xA0));
    setPalette(white);
    setAutoFillBackground(true);
}

void DisplayBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!mPaint) {
        return;
    }
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.setClipRect(inside);
    painter.translate(inside.topLeft());
    mPaint(painter);
}

}  // namespace pictarium
