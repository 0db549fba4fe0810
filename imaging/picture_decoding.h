#pragma once

#include "imaging/picture_format.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

#include <functional>

namespace pictarium {

// Decodes a picture file's bytes as `format` with the decoder that reads
// it best; `path` is the file itself, for Ghostscript. A null picture when
// the bytes do not decode or nothing here reads the format.
[[nodiscard]] QImage decodePicture(PictureFormat format, QByteArrayView bytes, const QString& path);

// Names the format to decode a file's bytes as; Unknown refuses the file.
using FormatChooser = std::function<PictureFormat(QByteArrayView bytes)>;

// Reads a picture file and decodes it as the chosen format, transparency
// laid on white. Throws a RunFailure: 53 or 75 when the file cannot be
// read, 481 when its picture does not decode, 7 when memory runs out.
[[nodiscard]] QImage loadPictureFile(const QString& fileName, const FormatChooser& chooseFormat);

}  // namespace pictarium
