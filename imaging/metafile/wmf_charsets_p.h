#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace pictarium::wmf {

// The text of a record's bytes in the character set its font names:
// Windows-1252 for Western fonts, and the letters of the Cyrillic, Greek
// and Hebrew code pages for fonts of those sets (their punctuation is
// Windows-1252's).
[[nodiscard]] QString charsetText(QByteArrayView bytes, std::uint8_t charset);

// A font's face name: its bytes up to the first zero.
[[nodiscard]] QString faceName(QByteArrayView bytes);

}  // namespace pictarium::wmf
