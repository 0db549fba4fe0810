#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Windows and OS/2 bitmap files: the core header (OS/2 1.x), the OS/2 2.x
// header of 16 to 64 bytes, and the info headers of 40, 52, 56, 108 and
// 124 bytes; 1, 2, 4 and 8 bits with a palette, short or not; 16, 24 and
// 32 bits, with bit fields of any contiguous masks; 64 bits of linear
// fixed-point samples, brought to sRGB; run-length 4, 8 and
// 24 bits with deltas and early ends; embedded JPEG and PNG. The file-size
// field is never looked at, so a stored picture rebuilt as "BM." and its
// bytes decodes too.
//
// Palette pictures come back as Format_Mono (1 bit) or Format_Indexed8,
// with a full palette whose missing entries are black; others as
// Format_RGB32, or Format_ARGB32 when an alpha mask is given. A null
// picture for a file that breaks the format: a header of no known size,
// planes other than 1, an unknown depth or compression, masks that are
// not contiguous, a palette or pixels past the end of the file, or runs
// that write outside the picture.
[[nodiscard]] QImage decodeBitmapFile(QByteArrayView file);

// An OS/2 bitmap array ("BA"), whose entries are bitmap files at offsets
// counted from the array's start: its first bitmap as a file of its own,
// or nothing when the bytes are no array of bitmaps.
[[nodiscard]] QByteArray firstBitmapOfArray(QByteArrayView file);

}  // namespace pictarium
