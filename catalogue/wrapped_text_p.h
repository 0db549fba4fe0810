#pragma once

#include <QFont>
#include <QPointF>
#include <QString>

class QPaintDevice;
class QPainter;

namespace pictarium {

// A text broken into lines of at most `width` device units, at word
// boundaries where it can and anywhere in a word longer than a line, so
// that nothing is ever cut.
[[nodiscard]] double wrappedTextHeight(const QString& text, const QFont& font, double width,
                                       QPaintDevice* device);
void drawWrappedText(QPainter& painter, const QString& text, const QFont& font, double width,
                     QPointF topLeft);

}  // namespace pictarium
