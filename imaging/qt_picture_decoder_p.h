#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Decodes `bytes` with Qt's reader for `qtFormat` ("jpeg", "png", ...),
// refusing pictures over the pixel limit before their pixels are
// allocated. Icons give their largest image, animations their first
// frame. A null picture when the data does not decode.
[[nodiscard]] QImage decodeWithQt(QByteArrayView bytes, const QByteArray& qtFormat);

}  // namespace pictarium
