#include "catalogue/print_picture_p.h"

#include <QSet>

#include <cmath>

namespace pictarium {

namespace {

constexpr qsizetype MaxFewColours = 256;

}  // namespace

QImage pictureForPrint(const QImage& picture, QSizeF printedInches, double dotsPerInch) {
    const QSize needed(static_cast<int>(std::ceil(printedInches.width() * dotsPerInch)),
                       static_cast<int>(std::ceil(printedInches.height() * dotsPerInch)));
    if (picture.isNull() || needed.isEmpty() || picture.width() <= needed.width() ||
        picture.height() <= needed.height()) {
        return picture;
    }
    // Rounded up on both sides, so that neither falls below the resolution.
    return picture.scaled(needed, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
}

bool hasFewColours(const QImage& picture) {
    if (picture.format() == QImage::Format_Indexed8 || picture.depth() == 1) {
        return true;
    }
    // Read where the picture lies, without a converted copy of a large photo.
    const bool direct =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        QRgb previous = 0;
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = direct ? line[x] : picture.pixel(x, y);
            // Drawings run in long stretches of one colour.
            if (x > 0 && colour == previous) {
                continue;
            }
            previous = colour;
            colours.insert(colour);
            if (colours.size() > MaxFewColours) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace pictarium
