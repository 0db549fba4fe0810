#include "imaging/metafile/emf_text_p.h"

#include "imaging/metafile/emf_canvas_p.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pictarium::emf {

namespace {

constexpr double DegreesPerRadian = 180 / std::numbers::pi;
constexpr double DefaultPixelSize = 16;  // 12 points at 96 dpi
constexpr double LargestPixelSize = 16384;
// Characters placed further along than this are off any picture.
constexpr double LargestOffset = 1e7;

double lengthOf(QPointF vector) {
    return std::hypot(vector.x(), vector.y());
}

// The generic family for a font known only by its family and pitch.
QString genericFamily(std::uint8_t pitchAndFamily) {
    constexpr std::uint8_t PitchMask = 0x03;
    constexpr std::uint8_t FixedPitch = 1;
    switch (pitchAndFamily >> 4) {
        case 1:
            return QStringLiteral("serif");  // roman
        case 3:
            return QStringLiteral("monospace");  // modern
        case 4:
            return QStringLiteral("cursive");  // script
        case 5:
            return QStringLiteral("fantasy");  // decorative
        default:
            return (pitchAndFamily & PitchMask) == FixedPitch ? QStringLiteral("monospace")
                                                              : QStringLiteral("sans-serif");
    }
}

// A named face gets no style hint: a hint would override fontconfig's
// metric-compatible substitutes for Windows faces such as Arial, Times New
// Roman or Courier New, and the placed characters would then overlap.
QFont faceOf(const LogicalFont& logical) {
    return QFont(logical.faceName.isEmpty() ? genericFamily(logical.pitchAndFamily)
                                            : logical.faceName);
}

// Narrows or widens the glyphs when the font asks for an average width.
void applyWidth(QFont& font, double averageWidth) {
    constexpr int LeastStretch = 1;
    constexpr int MostStretch = 4000;
    const double natural = QFontMetricsF(font).averageCharWidth();
    if (!(averageWidth > 0) || !(natural > 0)) {
        return;
    }
    const double stretch =
        std::clamp(100 * averageWidth / natural, static_cast<double>(LeastStretch),
                   static_cast<double>(MostStretch));
    font.setStretch(static_cast<int>(std::lround(stretch)));
}

// Qt's font in bitmap pixels; none when the text is too small or too
// large to draw.
std::optional<QFont> qtFont(const LogicalFont& logical, double scaleX, double scaleY) {
    QFont font = faceOf(logical);
    font.setWeight(static_cast<QFont::Weight>(
        std::clamp(logical.weight == 0 ? 400 : logical.weight, 1, 1000)));
    font.setItalic(logical.italic);
    font.setUnderline(logical.underline);
    font.setStrikeOut(logical.strikeOut);

    double pixels = DefaultPixelSize;
    if (logical.height != 0) {
        pixels = std::abs(static_cast<double>(logical.height)) * scaleY;
    }
    if (!(pixels >= 0.5 && pixels <= LargestPixelSize)) {
        return std::nullopt;
    }
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    if (logical.height > 0) {
        // A positive height is the whole cell, ascent and descent.
        const QFontMetricsF metrics(font);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0) {
            const double em = std::min(pixels * pixels / cell, LargestPixelSize);
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
        }
    }
    if (logical.width != 0) {
        applyWidth(font, std::abs(static_cast<double>(logical.width)) * scaleX);
    }
    return font;
}

double horizontalOffset(std::uint32_t align, double width) {
    if ((align & TextAlign::Centre) == TextAlign::Centre) {
        return -width / 2;
    }
    if ((align & TextAlign::Right) != 0) {
        return -width;
    }
    return 0;
}

double baselineOffset(std::uint32_t align, const QFontMetricsF& metrics) {
    if ((align & TextAlign::Baseline) == TextAlign::Baseline) {
        return 0;
    }
    if ((align & TextAlign::Bottom) != 0) {
        return -metrics.descent();
    }
    return metrics.ascent();
}

void drawCharacters(QPainter& painter, const TextRun& run, QPointF start, double scaleX) {
    if (run.advances.isEmpty()) {
        painter.drawText(start, run.text);
        return;
    }
    double x = start.x();
    for (qsizetype i = 0, advance = 0; i < run.text.size(); ++i, ++advance) {
        const bool pair = run.text[i].isHighSurrogate() && i + 1 < run.text.size();
        if (std::abs(x) <= LargestOffset) {
            painter.drawText(QPointF(x, start.y()), run.text.mid(i, pair ? 2 : 1));
        }
        if (pair) {
            x += run.advances.value(advance++) * scaleX;
            ++i;
        }
        x += run.advances.value(advance) * scaleX;
    }
}

struct PlacedGlyphs {
    QGlyphRun glyphs;
    double width = 0;
};

// Glyph numbers belong to one face; in a stand-in they would name other
// glyphs, so they are drawn only when that face itself is installed.
std::optional<PlacedGlyphs> placedGlyphs(const TextRun& run, const QFont& font, const QString& face,
                                         double scaleX) {
    if (face.isEmpty() || !QFontDatabase::hasFamily(face)) {
        return std::nullopt;
    }
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid()) {
        return std::nullopt;
    }
    const QList<QPointF> natural = raw.advancesForGlyphIndexes(run.glyphs);
    QList<quint32> glyphs;
    QList<QPointF> positions;
    double x = 0;
    for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
        if (std::abs(x) <= LargestOffset) {
            glyphs.append(run.glyphs[i]);
            positions.append(QPointF(x, 0));
        }
        x += run.advances.isEmpty() ? natural.value(i).x() : run.advances.value(i) * scaleX;
    }
    PlacedGlyphs placed;
    placed.glyphs.setRawFont(raw);
    placed.glyphs.setGlyphIndexes(glyphs);
    placed.glyphs.setPositions(positions);
    placed.glyphs.setUnderline(font.underline());
    placed.glyphs.setStrikeOut(font.strikeOut());
    placed.width = x;
    return placed;
}

double textWidth(const TextRun& run, const QFontMetricsF& metrics, double scaleX) {
    if (run.advances.isEmpty()) {
        return metrics.horizontalAdvance(run.text);
    }
    double width = 0;
    for (const double advance : run.advances) {
        width += advance * scaleX;
    }
    return width;
}

void applyRectangle(QPainter& painter, const TextRun& run, const DeviceContext& context,
                    const QTransform& toPicture) {
    if (!run.rectangle) {
        return;
    }
    QPainterPath box;
    box.addRect(*run.rectangle);
    box = toPicture.map(box);
    if (!Canvas::isWithinReach(box.controlPointRect())) {
        return;
    }
    if ((run.options & TextOption::Opaque) != 0) {
        painter.fillPath(box, context.backgroundColour);
    }
    if ((run.options & TextOption::Clipped) != 0) {
        painter.setClipPath(box, Qt::IntersectClip);
    }
}

}  // namespace

double drawTextRun(QPainter& painter, const DeviceContext& context, const QTransform& toPicture,
                   const TextRun& run) {
    // Fonts need a Gui application; without one the text is left out.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return 0;
    }
    const QPointF origin = toPicture.map(run.reference);
    const QPointF axisX = toPicture.map(QPointF(1, 0)) - toPicture.map(QPointF(0, 0));
    const QPointF axisY = toPicture.map(QPointF(0, 1)) - toPicture.map(QPointF(0, 0));
    const double scaleX = lengthOf(axisX);
    const std::optional<QFont> font = qtFont(context.font, scaleX, lengthOf(axisY));
    if (!font || !Canvas::isWithinReach(QRectF(origin, origin)) || !(scaleX > 0)) {
        return 0;
    }
    const QFontMetricsF metrics(*font);
    std::optional<PlacedGlyphs> glyphs;
    if (!run.glyphs.isEmpty()) {
        glyphs = placedGlyphs(run, *font, context.font.faceName, scaleX);
        if (!glyphs) {
            return 0;
        }
    }
    const double width = glyphs ? glyphs->width : textWidth(run, metrics, scaleX);
    if (!std::isfinite(width) || std::abs(width) > LargestOffset) {
        return 0;
    }

    painter.save();
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // The last shape may have left Qt's own opaque background on; the
    // context's background is filled below, only when its mode says so.
    painter.setBackgroundMode(Qt::TransparentMode);
    applyRectangle(painter, run, context, toPicture);
    painter.translate(origin);
    painter.rotate(std::atan2(axisX.y(), axisX.x()) * DegreesPerRadian -
                   context.font.escapement / 10.0);
    const QPointF start(horizontalOffset(context.textAlign, width),
                        baselineOffset(context.textAlign, metrics));
    if (context.opaqueBackground) {
        painter.fillRect(QRectF(start.x(), start.y() - metrics.ascent(), width,
                                metrics.ascent() + metrics.descent()),
                         context.backgroundColour);
    }
    painter.setFont(*font);
    painter.setPen(context.textColour);
    if (glyphs) {
        painter.drawGlyphRun(start, glyphs->glyphs);
    } else {
        drawCharacters(painter, run, start, scaleX);
    }
    painter.restore();
    return width / scaleX;
}

}  // namespace pictarium::emf
