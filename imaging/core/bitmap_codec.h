#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

#include <cstdint>

namespace pictarium {

// Pictures larger than this are refused rather than decoded: about
// 100 megapixels, a 400 MB decoded picture at 32 bits per pixel.
inline constexpr std::int64_t MaxPicturePixels = std::int64_t{100} * 1024 * 1024;

// Thrown by a reader that finds a picture over the pixel limit, so that
// the user hears its size rather than that the file cannot be read.
struct PictureTooLarge {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// Throws PictureTooLarge when a picture of this size is over the limit.
void requireWithinPixelLimit(std::int64_t width, std::int64_t height);

// "20000 × 20000 pixels, au plus 104857600 (100 mégapixels)": a picture
// too large, and the limit.
[[nodiscard]] QString pixelLimitText(std::int64_t width, std::int64_t height);

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
