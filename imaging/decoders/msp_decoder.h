#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Microsoft Paint for Windows 1 ("DanM", plain rows) and Windows 2
// ("LinS", run-length rows). A null picture when the bytes are not a
// complete file of either version.
[[nodiscard]] QImage decodeMspPicture(QByteArrayView bytes);

}  // namespace pictarium
