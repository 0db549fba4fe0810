#pragma once

#include <QList>
#include <QRgb>

#include <array>
#include <cstdint>

namespace pictarium {

// The sixteen colours of CGA, EGA and VGA text and graphics modes, which
// old PC paint programs assume when a file carries no palette.
inline constexpr std::array<QRgb, 16> PcStandardColours = {
    0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA, 0xFFAA5500, 0xFFAAAAAA,
    0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF, 0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF};

// One of the 64 colours an EGA palette register can select: bits 0-2 add
// two thirds of blue, green and red, bits 3-5 the remaining third.
[[nodiscard]] inline QRgb egaColour(std::uint8_t index) {
    const auto channel = [index](int primaryBit, int secondaryBit) {
        return ((index >> primaryBit) & 1) * 0xAA + ((index >> secondaryBit) & 1) * 0x55;
    };
    return qRgb(channel(2, 5), channel(1, 4), channel(0, 3));
}

// VGA DAC values run from 0 to 63.
[[nodiscard]] inline int scaleSixBits(std::uint8_t value) {
    return (value & 0x3F) * 255 / 63;
}

[[nodiscard]] inline QList<QRgb> greyRamp(int count) {
    QList<QRgb> colours;
    for (int i = 0; i < count; ++i) {
        const int level = count > 1 ? i * 255 / (count - 1) : 0;
        colours.append(qRgb(level, level, level));
    }
    return colours;
}

}  // namespace pictarium
