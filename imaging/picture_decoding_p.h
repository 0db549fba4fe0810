#pragma once

#include "imaging/file_extensions.h"
#include "imaging/picture_format_p.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pictarium {

// Decodes a picture file's bytes as `format` with the decoder that reads
// it best; `path` is the file itself, for Ghostscript. A null picture when
// the bytes do not decode or nothing here reads the format.
[[nodiscard]] QImage decodePicture(PictureFormat format, QByteArrayView bytes, const QString& path);

// Who reads a picture file, and so which formats are recognised.
enum class PictureLoader {
    Platform,  // the platform's loader: bitmaps, icons, GIF, JPEG and metafiles
    Imaging,   // the imaging component: everything, the extension naming the
               // formats that carry no signature
};

// Reads a picture file and decodes it as the format its content (and for
// the imaging component its extension) names, transparency laid on white.
// Throws a RunFailure: 53 or 75 when the file cannot be read, 481 when its
// picture does not decode or the loader does not read its format, 7 when
// memory runs out.
[[nodiscard]] QImage loadPictureFile(const PictureFileName& name, PictureLoader loader);

// The platform's picture loader, given only a file name.
[[nodiscard]] QImage LoadPicture(const PictureFileName& name);

}  // namespace pictarium
