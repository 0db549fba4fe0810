#pragma once

#include <QByteArrayView>

namespace pictarium {

// Structural checks for the formats whose readers quietly return a partial
// picture from a file cut short: the file must hold everything its own
// structure announces. They look at the structure only, not the pixels.

// An uncompressed bitmap holds all its rows; a run-length one ends with
// its end-of-bitmap code.
[[nodiscard]] bool isCompleteBitmap(QByteArrayView bytes);

// Every block of a GIF is whole, up to the trailer or, for writers that
// leave the trailer out, up to the end of an image.
[[nodiscard]] bool isCompleteGif(QByteArrayView bytes);

// A JPEG's entropy-coded data is followed by its end-of-image marker.
[[nodiscard]] bool isCompleteJpeg(QByteArrayView bytes);

// A MacPaint file (with or without its MacBinary header) packs all 720
// rows of the page.
[[nodiscard]] bool isCompleteMacPaint(QByteArrayView bytes);

// A WordPerfect graphic holds a bitmap record, every record is whole, and
// none is embedded PostScript: Magick++ would hand such data to whatever
// reader its first bytes name, so those files are refused.
[[nodiscard]] bool isCompleteWordPerfect(QByteArrayView bytes);

}  // namespace pictarium
