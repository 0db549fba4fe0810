#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Sun raster files: 1, 4, 8, 24 and 32 bits a pixel, with a colour map or
// without (1 bit black on white, 8 bits grey), plain or run-length
// encoded, BGR or RGB order. A null picture when the bytes are not a
// complete file; PictureTooLarge for a picture over the pixel limit.
[[nodiscard]] QImage decodeSunRaster(QByteArrayView bytes);

}  // namespace pictarium
