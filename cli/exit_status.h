#pragma once

namespace pictarium::cli {

// What scripts test after each command.
enum class ExitStatus : int {
    Success = 0,
    Failure = 1,     // the engine refused or failed
    UsageError = 2,  // the command line itself is wrong
};

[[nodiscard]] constexpr ExitStatus statusOf(bool succeeded) {
    return succeeded ? ExitStatus::Success : ExitStatus::Failure;
}

}  // namespace pictarium::cli
