#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include "imaging/core/pixel_limit.h"

#include <cstdint>

namespace pictarium {

// Lets Qt's readers decode pictures up to MaxPicturePixels; Qt's default
// limit stops at 256 MB. Only ever raises the limit.
void allowLargePictures();

// The picture as a plain bitmap file (BITMAPINFOHEADER, 24 bits, or 8 bits
// or fewer with a palette where the picture has one). Transparent parts are
// laid on white, since a bitmap keeps no transparency. Empty on failure.
[[nodiscard]] QByteArray bitmapFileOf(const QImage& picture);

// Decodes a bitmap file held in memory; a null picture when it does not
// decode. Any common variant loads (palettes, RLE, bit fields, top-down,
// OS/2 headers). The file-size field is never looked at. Headers that
// promise more pixels than the data holds are refused before anything
// is allocated.
[[nodiscard]] QImage pictureFromBitmapFile(const QByteArray& file);

// The bitmap file with its file-size field (bytes 2 to 5) set to its
// length, as other programs expect of a file on disk; the rest unchanged.
[[nodiscard]] QByteArray withFileSizeField(QByteArray file);

// Whether a bitmap file of `fileSize` bytes that starts with `head` can
// decode at all: the picture within the pixel limit, and the pixels its
// header promises held by the file. Lets a reader refuse a huge stored
// picture before reading all of it; `head` needs the file and info
// headers (54 bytes suffice).
[[nodiscard]] bool bitmapHeaderIsPlausible(QByteArrayView head, std::int64_t fileSize);

// For a bitmap file given to be added: throws PictureTooLarge when its
// header announces a picture over the pixel limit.
void requireBitmapWithinPixelLimit(QByteArrayView file);

}  // namespace pictarium
