#include "bench/peak_memory.h"

#include <malloc.h>

#include <fstream>
#include <string>

namespace pictarium::bench {

namespace {

// A "Name:   1234 kB" line of /proc/self/status, in KiB; 0 when missing.
std::int64_t statusKiB(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0) {
            return std::stoll(line.substr(name.size() + 1));
        }
    }
    return 0;
}

// Hands freed heap memory back to the system first, so that memory kept
// by the allocator from earlier work does not hide what the operation uses.
bool resetHighWaterMark() {
    malloc_trim(0);
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";
    clearRefs.flush();
    return clearRefs.good();
}

}  // namespace

PeakMemoryWindow::PeakMemoryWindow()
    : mExact(resetHighWaterMark()), mStartKiB(statusKiB("VmRSS")) {}

std::int64_t PeakMemoryWindow::growthKiB() const {
    const std::int64_t peak = statusKiB("VmHWM");
    return peak > mStartKiB ? peak - mStartKiB : 0;
}

}  // namespace pictarium::bench
