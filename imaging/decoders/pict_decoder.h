#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// QuickDraw pictures, version 1 and 2, with or without the 512-byte
// header: the bitmap and pixmap opcodes (1 to 8 bits with their colour
// table, 16 and 32 bits direct, plain or PackBits) and JPEG pictures
// embedded by QuickTime, each drawn at its place on a white page of the
// picture's frame (onto which an extended version 2 header maps its source
// rectangle), and QuickDraw's own lines, shapes, polygons, regions
// and text. A null picture when the bytes are not a complete picture or
// draw nothing; PictureTooLarge for a frame over the pixel limit.
[[nodiscard]] QImage decodePict(QByteArrayView bytes);

}  // namespace pictarium
