#include "imaging/core/pixel_limit.h"

#include <algorithm>
#include <cmath>

namespace pictarium {

bool isWithinPixelLimit(std::int64_t width, std::int64_t height) {
    return width <= MaxPicturePixels && height <= MaxPicturePixels &&
           width * height <= MaxPicturePixels;
}

void requireWithinPixelLimit(std::int64_t width, std::int64_t height) {
    if (!isWithinPixelLimit(width, height)) {
        throw PictureTooLarge{width, height};
    }
}

void requireDrawingWithinPixelLimit(double width, double height) {
    // Anything past the limit stays past it, and fits in 64 bits.
    const double beyond = double(MaxPicturePixels) + 1;
    const auto side = [beyond](double length) {
        return static_cast<std::int64_t>(std::min(std::ceil(length), beyond));
    };
    requireWithinPixelLimit(side(width), side(height));
}

QString pixelLimitText(std::int64_t width, std::int64_t height) {
    return QStringLiteral("%1 × %2 pixels, au plus %3 (%4 mégapixels)")
        .arg(QString::number(width), QString::number(height), QString::number(MaxPicturePixels),
             QString::number(MaxPicturePixels / (1024 * 1024)));
}

}  // namespace pictarium
