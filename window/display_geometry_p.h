#pragma once

namespace pictarium {

// Pictures report their size in HIMETRIC units, hundredths of a
// millimetre; 2540 of them make an inch.
[[nodiscard]] int pixelsToHimetric(int pixels, double dotsPerInch);

// Screen pixels for a HIMETRIC length, to the nearest pixel, ties to even.
[[nodiscard]] int himetricToPixels(int himetric, double dotsPerInch);

// Shrinks a picture of picW x picH to fit a box of boxW x boxH, keeping its
// proportions and never enlarging it, and centres it. On return boxW, boxH
// hold the size to draw and offX, offY its place. An offset of -1 or less
// is left as it is: no centring in that direction.
void FitPicture(int picW, int picH, int& boxW, int& boxH, int& offX, int& offY);

}  // namespace pictarium
