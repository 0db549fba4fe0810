#include "catalogue/wrapped_text_p.h"

#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

namespace pictarium {

namespace {

// Lays the lines out one under the other; gives their total height.
double layOut(QTextLayout& layout, double width) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    double height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

}  // namespace

double wrappedTextHeight(const QString& text, const QFont& font, double width,
                         QPaintDevice* device) {
    QTextLayout layout(text, font, device);
    return layOut(layout, width);
}

void drawWrappedText(QPainter& painter, const QString& text, const QFont& font, double width,
                     QPointF topLeft) {
    QTextLayout layout(text, font, painter.device());
    layOut(layout, width);
    layout.draw(&painter, topLeft);
}

}  // namespace pictarium
