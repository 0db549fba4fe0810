#pragma once

#include <QString>

#include <cstdint>

namespace pictarium {

// Pictures larger than this are refused rather than decoded: about
// 100 megapixels, a 400 MB decoded picture at 32 bits per pixel.
inline constexpr std::int64_t MaxPicturePixels = std::int64_t{100} * 1024 * 1024;

// Thrown by a reader that finds a picture over the pixel limit, so that
// the user hears its size rather than that the file cannot be read.
struct PictureTooLarge {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// Whether a picture of this size is within the limit. Each side is
// checked alone first, so that huge sides cannot overflow their product.
[[nodiscard]] bool isWithinPixelLimit(std::int64_t width, std::int64_t height);

// Throws PictureTooLarge when a picture of this size is over the limit.
void requireWithinPixelLimit(std::int64_t width, std::int64_t height);

// The same for a drawing measured in fractions of a pixel (a metafile's or
// a PostScript page's frame): each side rounded up, however large.
void requireDrawingWithinPixelLimit(double width, double height);

// "20000 × 20000 pixels, au plus 104857600 (100 mégapixels)": a picture
// too large, and the limit.
[[nodiscard]] QString pixelLimitText(std::int64_t width, std::int64_t height);

}  // namespace pictarium
