#pragma once

#include "imaging/core/byte_reader.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <QTransform>

#include <cstdint>

namespace pictarium {

// The drawing opcodes of a QuickDraw picture: lines, rectangles, rounded
// rectangles, ovals, arcs, polygons and regions framed, painted, erased,
// inverted or filled, text, and the pen, colours and font they use. Patterns are drawn as the
// mix of foreground and background colour they show.
class QuickDrawDrawing {
public:
    // Draws onto `page`, whose pixels `toPage` maps the picture's coordinates to.
    QuickDrawDrawing(QImage& page, const QTransform& toPage) : mPage(page), mToPage(toPage) {}

    // Plays the opcode, reading its operands; false for one it does not
    // draw, whose operands are left unread.
    bool play(std::uint16_t opcode, ByteReader& reader);

    [[nodiscard]] bool hasDrawn() const { return mHasDrawn; }

private:
    enum class Verb { Frame, Paint, Erase, Invert, Fill };

    void setState(std::uint16_t opcode, ByteReader& reader);
    void drawLine(std::uint16_t opcode, ByteReader& reader);
    void drawText(std::uint16_t opcode, ByteReader& reader);
    void drawShape(std::uint16_t opcode, ByteReader& reader);
    void apply(Verb verb, const QPainterPath& area, const QPainterPath& outline);
    [[nodiscard]] QPoint readPoint(ByteReader& reader) const;
    [[nodiscard]] QRect readRect(ByteReader& reader) const;
    [[nodiscard]] QPainterPath readRegion(ByteReader& reader) const;

    QImage& mPage;
    QTransform mToPage;
    QPoint mPenPosition;
    QPoint mTextPosition;
    QSize mPenSize{1, 1};
    QSize mOvalSize;
    QColor mForeground = Qt::black;
    QColor mBackground = Qt::white;
    double mPenInk = 1;   // how much of the pen pattern is foreground
    double mFillInk = 1;  // the same for the fill pattern
    int mFontNumber = 0;
    QString mFontName;
    int mTextSize = 12;
    int mTextFace = 0;
    QRect mLastRect;
    QPolygon mLastPolygon;
    QPainterPath mLastRegion;
    bool mHasDrawn = false;
};

}  // namespace pictarium
