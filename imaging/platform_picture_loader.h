#pragma once

#include <QImage>
#include <QString>

namespace pictarium {

// The platform's picture loader, given only a file name: bitmaps (RLE
// ones included), icons (their largest image), GIF (its first frame) and
// JPEG files, and Windows metafiles rendered to a bitmap. Anything else,
// enhanced metafiles included, throws RunFailure 481; a missing file 53.
[[nodiscard]] QImage LoadPicture(const QString& fileName);

}  // namespace pictarium
