#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// The first image of a TIFF file through libtiff's RGBA interface, which
// converts grey, palette, RGB, CMYK and YCbCr pictures, chunky or planar,
// of 1 to 16 bits a sample, in the file's orientation. A null picture for
// a file it cannot convert so (L*a*b* included, whose conversion it does
// not get exact), or that is broken; nothing is printed. Throws PictureTooLarge for a
// picture over the pixel limit.
[[nodiscard]] QImage decodeTiffWithLibtiff(QByteArrayView bytes);

}  // namespace pictarium
