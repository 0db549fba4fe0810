#pragma once

#include "base/run_errors.h"

#include <cstdint>
#include <limits>

namespace pictarium {

// Offsets and lengths of a base are signed 32-bit: a result outside that
// range is the overflow failure, never a wrapped value.
[[nodiscard]] inline std::int32_t toInt32(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw RunFailure(RunError::Overflow);
    }
    return static_cast<std::int32_t>(value);
}

[[nodiscard]] inline std::int32_t checkedAdd(std::int32_t a, std::int32_t b) {
    return toInt32(std::int64_t{a} + b);
}

[[nodiscard]] inline std::int32_t checkedSub(std::int32_t a, std::int32_t b) {
    return toInt32(std::int64_t{a} - b);
}

[[nodiscard]] inline std::int32_t checkedMul(std::int32_t a, std::int32_t b) {
    return toInt32(std::int64_t{a} * b);
}

}  // namespace pictarium
