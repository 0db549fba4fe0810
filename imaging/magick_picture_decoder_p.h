#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Decodes `bytes` with Magick++'s reader named `coder` ("TGA", "PCX", ...),
// the first image only. The coder is always named, so Magick++ never
// guesses a format (and never reaches a coder we did not choose). A null
// picture when the data does not decode, is damaged or is over the pixel
// limit.
[[nodiscard]] QImage decodeWithMagick(QByteArrayView bytes, const char* coder);

}  // namespace pictarium
