#pragma once

#include "cli/command_syntax.h"
#include "cli/exit_status.h"

namespace pictarium::cli {

// Checks a base file without the engine; see BaseVerifier.
[[nodiscard]] ExitStatus runVerify(const Invocation& call);

}  // namespace pictarium::cli
