#pragma once

#include <QImage>
#include <QSize>

namespace pictarium {

// The picture shrunk, keeping its proportions, to fit in `box`; the
// picture itself when it fits already. Never enlarged.
[[nodiscard]] QImage shrunkToFit(const QImage& picture, QSize box);

}  // namespace pictarium
