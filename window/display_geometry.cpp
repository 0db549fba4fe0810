#include "window/display_geometry_p.h"

#include <cmath>

namespace pictarium {

namespace {

constexpr double HimetricPerInch = 2540.0;

// Nearest integer, ties to the even neighbour.
int roundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

int pixelsToHimetric(int pixels, double dotsPerInch) {
    if (dotsPerInch <= 0) {
        return 0;
    }
    return static_cast<int>(std::lround(pixels * HimetricPerInch / dotsPerInch));
}

int himetricToPixels(int himetric, double dotsPerInch) {
    return roundHalfEven(himetric * dotsPerInch / HimetricPerInch);
}

void FitPicture(int picW, int picH, int& boxW, int& boxH, int& offX, int& offY) {
    double newW = picW;
    double newH = picH;
    const bool fits = picW <= boxW && picH <= boxH;
    // A zero dimension in a picture that does not fit would divide by zero:
    // the picture then keeps its natural size.
    if (!fits && picW != 0 && picH != 0) {
        const double sx = 100.0 * (static_cast<double>(boxW) / picW);
        const double sy = 100.0 * (static_cast<double>(boxH) / picH);
        const double s = sx < sy ? sx : sy;
        newW = s * (picW / 100.0);
        newH = s * (picH / 100.0);
    }
    if (offX > -1) {
        offX = roundHalfEven(boxW - newW) / 2;
    }
    if (offY > -1) {
        offY = roundHalfEven(boxH - newH) / 2;
    }
    boxW = roundHalfEven(newW);
    boxH = roundHalfEven(newH);
}

}  // namespace pictarium
