#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// FlashPix files: the largest resolution of the first image, from its
// 64 x 64 tiles, each raw, one colour or JPEG (with the shared tables the
// image's properties hold); grey, NIF RGB or PhotoYCC, with or without
// opacity. A null picture when the bytes are not a complete file or use
// a variant read nowhere (four-channel JPEG tiles); PictureTooLarge for a
// picture over the pixel limit.
[[nodiscard]] QImage decodeFlashPix(QByteArrayView bytes);

}  // namespace pictarium
