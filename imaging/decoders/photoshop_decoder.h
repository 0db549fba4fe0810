#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// The merged picture of a Photoshop file (version 1): bitmap, grey,
// indexed, duotone (as grey), RGB and CMYK modes, 1, 8 and 16 bits, raw
// or PackBits. A null picture when the bytes are not a complete file of
// those kinds; PictureTooLarge for a picture over the pixel limit.
[[nodiscard]] QImage decodePhotoshop(QByteArrayView bytes);

}  // namespace pictarium
