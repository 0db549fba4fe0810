#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

#include <cstdint>
#include <variant>

namespace pictarium::emf {

// A pen as the metafile defines it, in logical units.
struct LogicalPen {
    std::uint32_t style = 0;  // line style, end cap, join and type bits
    double width = 0;         // 0: one pixel whatever the scale
    QColor colour = Qt::black;
    QList<double> dashes;  // the user style's lengths, in logical units
};

struct LogicalBrush {
    enum class Kind { Solid, Hollow, Hatched, Pattern };
    Kind kind = Kind::Solid;
    QColor colour = Qt::white;
    std::uint32_t hatch = 0;
    QImage pattern;
};

struct LogicalFont {
    std::int32_t height = 0;      // < 0: character height, > 0: cell height
    std::int32_t width = 0;       // average character width; 0: the face's own
    std::int32_t escapement = 0;  // tenths of a degree, counter-clockwise
    std::int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t pitchAndFamily = 0;  // pitch in the low bits, family in the high nibble
    QString faceName;
};

using GdiObject = std::variant<LogicalPen, LogicalBrush, LogicalFont>;

// Pen style bits.
namespace PenStyle {
inline constexpr std::uint32_t LineMask = 0x0F;
inline constexpr std::uint32_t Solid = 0;
inline constexpr std::uint32_t Dash = 1;
inline constexpr std::uint32_t Dot = 2;
inline constexpr std::uint32_t DashDot = 3;
inline constexpr std::uint32_t DashDotDot = 4;
inline constexpr std::uint32_t Null = 5;
inline constexpr std::uint32_t InsideFrame = 6;
inline constexpr std::uint32_t UserStyle = 7;
inline constexpr std::uint32_t Alternate = 8;
inline constexpr std::uint32_t CapMask = 0xF00;
inline constexpr std::uint32_t CapSquare = 0x100;
inline constexpr std::uint32_t CapFlat = 0x200;
inline constexpr std::uint32_t JoinMask = 0xF000;
inline constexpr std::uint32_t JoinBevel = 0x1000;
inline constexpr std::uint32_t JoinMiter = 0x2000;
inline constexpr std::uint32_t Geometric = 0x10000;
}  // namespace PenStyle

// The stock object that an object index with the high bit set names, or
// none for an index that names no pen, brush or font.
[[nodiscard]] std::variant<std::monostate, LogicalPen, LogicalBrush, LogicalFont> stockObject(
    std::uint32_t index);

[[nodiscard]] inline bool isStockObject(std::uint32_t index) {
    return (index & 0x80000000u) != 0;
}

}  // namespace pictarium::emf
