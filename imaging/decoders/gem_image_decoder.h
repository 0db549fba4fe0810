#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// GEM raster (.img) from Digital Research's GEM and Ventura Publisher:
// 1 to 8 bit planes, with the XIMG palette extension when present. A null
// picture when the bytes are not a complete file.
[[nodiscard]] QImage decodeGemImage(QByteArrayView bytes);

}  // namespace pictarium
