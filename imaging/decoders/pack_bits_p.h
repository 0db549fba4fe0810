#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace pictarium {

// Undoes Apple's PackBits, as QuickDraw and Photoshop write it: a code n
// below 128 copies the next n + 1 units, one above 128 repeats the next
// unit 257 - n times, 128 is nothing. A unit is one byte, or two for the
// 16-bit pixels of QuickDraw. Gives exactly `length` bytes: what a row
// unpacks to beyond them is dropped; a row that unpacks short throws
// MalformedPicture.
[[nodiscard]] QByteArray unpackBits(QByteArrayView packed, qsizetype length, int unit = 1);

}  // namespace pictarium
