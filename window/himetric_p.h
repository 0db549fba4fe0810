#pragma once

namespace pictarium {

// Pictures report their size in HIMETRIC units, hundredths of a
// millimetre; 2540 of them make an inch.
[[nodiscard]] int pixelsToHimetric(int pixels, double dotsPerInch);

// Screen pixels for a HIMETRIC length, to the nearest pixel, ties to even.
[[nodiscard]] int himetricToPixels(int himetric, double dotsPerInch);

}  // namespace pictarium
