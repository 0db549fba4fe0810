#pragma once

#include <QRect>
#include <QSize>

namespace pictarium {

// The window is laid out in twips, 15 to a pixel at 96 dots per inch.
inline constexpr int TwipsPerPixel = 15;

[[nodiscard]] constexpr int twipsToPixels(int twips) {
    return twips / TwipsPerPixel;
}

[[nodiscard]] constexpr QSize twipsSize(int width, int height) {
    return {twipsToPixels(width), twipsToPixels(height)};
}

[[nodiscard]] constexpr QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace pictarium
