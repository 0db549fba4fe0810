#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include <cstdint>
#include <optional>

namespace pictarium {

// How many bytes the bitmap file that `file` starts needs: for rows of
// pixels, what its headers promise; for run-length pixels, up to the code
// that ends the picture. Nothing when its headers cannot be a picture's, or
// when its run-length codes go on past the end of `file`. Lets a reader
// find where a bitmap ends among other bytes.
[[nodiscard]] std::optional<std::int64_t> bitmapFileLength(QByteArrayView file);

// Decodes a bitmap file cut short of its pixels: the whole rows it holds,
// and white in place of the rows it lost. Null unless its pixels are plain
// rows and its headers, palette and first row are all there.
[[nodiscard]] QImage pictureFromCutBitmapFile(QByteArray file);

}  // namespace pictarium
