#pragma once

#include "command_line.h"
#include "exit_status.h"

namespace pictarium::cli {

// Checks a base file without the engine; see BaseVerifier.
[[nodiscard]] ExitStatus runVerify(const Invocation& call);

}  // namespace pictarium::cli
