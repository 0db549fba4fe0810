#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace pictarium::bench {

// Durations of one kind of operation, taken in turn with the operations they
// are compared with, so that a busy machine slows all of them alike. The
// median leaves out the samples that another program interrupted.
class Samples {
public:
    template <typename Work>
    void time(Work&& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        mSeconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }

    [[nodiscard]] double median() const {
        if (mSeconds.empty()) {
            return 0.0;
        }
        std::vector<double> sorted = mSeconds;
        const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
        std::nth_element(sorted.begin(), middle, sorted.end());
        return *middle;
    }

    [[nodiscard]] double maximum() const {
        return mSeconds.empty() ? 0.0 : *std::max_element(mSeconds.begin(), mSeconds.end());
    }

private:
    std::vector<double> mSeconds;
};

}  // namespace pictarium::bench
