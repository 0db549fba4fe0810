#pragma once

#include <QImage>
#include <QSizeF>

namespace pictarium {

// The picture to hand to the device for a print `printedInches` large: at
// least `dotsPerInch` where the picture has that many pixels, and scaled
// down to about that when it has more, so the file stays small.
[[nodiscard]] QImage pictureForPrint(const QImage& picture, QSizeF printedInches,
                                     double dotsPerInch);

// Whether the picture is a drawing of few colours (256 at most), which a
// lossy compression would blur.
[[nodiscard]] bool hasFewColours(const QImage& picture);

}  // namespace pictarium
