#pragma once

#include <QByteArrayView>
#include <QColorSpace>
#include <QImage>

namespace pictarium {

// Pictures are kept as plain bitmaps, which every display shows as sRGB. A
// picture that carries its own colour profile (a camera's Adobe RGB, a
// phone's Display P3, a PNG's gamma) is converted to sRGB when it is read,
// or its colours would come out dull or wrong. One whose profile Qt cannot
// apply is left as its file holds it. Works in place when the picture is
// not shared.
[[nodiscard]] QImage inDisplayColours(QImage picture);

// The colour space of an ICC profile found in a file; an invalid one when
// the profile is empty or not one Qt can apply.
[[nodiscard]] QColorSpace colourSpaceOfProfile(QByteArrayView profile);

}  // namespace pictarium
