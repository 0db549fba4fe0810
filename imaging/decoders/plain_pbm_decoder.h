#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Plain (ASCII, "P1") PBM files: comments anywhere a blank may stand, and
// the bits with or without blanks between them, 1 black. A null picture
// when the bytes are not a complete file; PictureTooLarge for a picture
// over the pixel limit.
[[nodiscard]] QImage decodePlainPbm(QByteArrayView bytes);

}  // namespace pictarium
