#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Truevision TGA files: colour-mapped, true-colour and grey pictures,
// plain or run-length encoded, of 8, 15, 16, 24 and 32 bits (grey of 16
// bits is grey and alpha), in any of the four orientations. A null
// picture when the bytes are not a complete file of those kinds;
// PictureTooLarge for a picture over the pixel limit.
[[nodiscard]] QImage decodeTarga(QByteArrayView bytes);

}  // namespace pictarium
