#pragma once

#include "imaging/metafile/emf_device_context_p.h"

#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <optional>

namespace pictarium::emf {

// Text output options.
namespace TextOption {
inline constexpr std::uint32_t Opaque = 0x02;
inline constexpr std::uint32_t Clipped = 0x04;
inline constexpr std::uint32_t GlyphIndices = 0x10;
inline constexpr std::uint32_t NoRectangle = 0x100;
inline constexpr std::uint32_t VerticalAdvances = 0x2000;
}  // namespace TextOption

// One string of a text record, in logical units.
struct TextRun {
    QPointF reference;
    QString text;
    QList<quint32> glyphs;   // instead of text: glyph numbers in the named face
    QList<double> advances;  // one per character, or none: the font's own
    std::uint32_t options = 0;
    std::optional<QRectF> rectangle;
};

// Draws a run with the context's font, colours and alignment; `toPicture`
// takes logical units to the bitmap's pixels. Text stays upright whatever
// way the mapping turns the y axis, as on Windows. Returns the run's
// width in logical units.
double drawTextRun(QPainter& painter, const DeviceContext& context, const QTransform& toPicture,
                   const TextRun& run);

}  // namespace pictarium::emf
