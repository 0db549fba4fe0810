#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// PC Paint / Pictor (.pic, magic 0x1234, the version with a palette
// header): 1, 2, 4 and 8 bits per pixel and 4-plane EGA pictures. A null
// picture when the bytes are not a complete file.
[[nodiscard]] QImage decodePcPaintPicture(QByteArrayView bytes);

}  // namespace pictarium
