#pragma once

#include <cstdint>

namespace pictarium::bench {

// Measures how far the resident memory of this process rises during one
// operation: the kernel's high-water mark is reset first, so that earlier
// work does not hide the operation's own peak.
class PeakMemoryWindow {
public:
    PeakMemoryWindow();

    // Kibibytes by which the high-water mark rose above the resident size
    // seen when the window opened; 0 when the kernel does not tell.
    [[nodiscard]] std::int64_t growthKiB() const;

    // False when the high-water mark could not be reset, in which case the
    // growth is only an upper bound.
    [[nodiscard]] bool isExact() const { return mExact; }

private:
    bool mExact = false;
    std::int64_t mStartKiB = 0;
};

}  // namespace pictarium::bench
