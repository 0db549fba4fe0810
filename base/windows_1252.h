#pragma once

#include <QChar>

#include <array>

namespace pictarium {

// Description text is stored in Windows-1252, fixed, so that a base written
// on one machine reads the same on any other.

// The byte for a character; '?' for a character the code page lacks.
[[nodiscard]] unsigned char toWindows1252(QChar character);
[[nodiscard]] QChar fromWindows1252(unsigned char byte);

// Upper-cases one Windows-1252 character, staying within the code page:
// a character whose capital the code page lacks (such as the sharp s) is
// kept, so the length of a text never changes.
[[nodiscard]] unsigned char upperWindows1252(unsigned char byte);
// The same for all 256 bytes at once, for scans over many texts.
[[nodiscard]] const std::array<unsigned char, 256>& windows1252UpperTable();

}  // namespace pictarium
