#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Windows icon and cursor files: the image with the most pixels (the
// deepest of those), a PNG stream or a device-independent bitmap whose
// AND mask makes its pixels transparent (an alpha channel, when a 32-bit
// image has one, instead). A null picture when the bytes are not a
// complete file; PictureTooLarge for a picture over the pixel limit.
[[nodiscard]] QImage decodeIcon(QByteArrayView bytes);

}  // namespace pictarium
