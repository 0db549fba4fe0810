#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace pictarium::bench {

// The value of "--name=value" among the arguments, taken out of them so
// that the benchmark library sees only its own; else the environment
// variable `variable`, else `fallback`.
[[nodiscard]] QString takeOption(int& argc, char** argv, const char* option, const char* variable,
                                 const QString& fallback);

// "16,256,1024": sizes in MiB, sorted. Throws std::runtime_error for one
// that is not a whole number from 1 to 1536.
[[nodiscard]] std::vector<std::int64_t> parseSizes(const QString& text);

}  // namespace pictarium::bench
