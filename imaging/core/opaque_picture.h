#pragma once

#include <QImage>

namespace pictarium {

// The picture with any transparency laid on white, the colour of the
// display box, since a bitmap keeps none. Works in place when the picture
// is not shared, so that a big picture is never held twice.
[[nodiscard]] QImage opaquePicture(QImage picture);

}  // namespace pictarium
