#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Decodes the primary picture of a HEIF or AVIF file with libheif, turned
// and mirrored as the file's own transformations say, with its colour
// profile; refuses one over the pixel limit before decoding its pixels. A
// null picture when the data does not decode.
[[nodiscard]] QImage decodeHeif(QByteArrayView bytes);

}  // namespace pictarium
