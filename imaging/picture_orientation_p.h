#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// The orientation an EXIF block (a TIFF header and its first directory)
// records, 1 to 8 as EXIF and TIFF number them; 1, upright, when it
// records none or cannot be read.
[[nodiscard]] int exifOrientation(QByteArrayView exif);

// The EXIF block a WebP file carries in its "EXIF" chunk; empty when none.
[[nodiscard]] QByteArrayView webpExif(QByteArrayView webp);

// The picture turned and mirrored so that it shows upright, for an
// orientation numbered as exifOrientation gives it.
[[nodiscard]] QImage uprightPicture(const QImage& picture, int orientation);

}  // namespace pictarium
