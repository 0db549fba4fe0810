#include "window/himetric_p.h"

#include <cmath>

namespace pictarium {

namespace {
constexpr double HimetricPerInch = 2540.0;
}

int pixelsToHimetric(int pixels, double dotsPerInch) {
    if (dotsPerInch <= 0) {
        return 0;
    }
    return static_cast<int>(std::lround(pixels * HimetricPerInch / dotsPerInch));
}

int himetricToPixels(int himetric, double dotsPerInch) {
    return static_cast<int>(std::nearbyint(himetric * dotsPerInch / HimetricPerInch));
}

}  // namespace pictarium
