#pragma once

#include "cli/command_syntax.h"
#include "cli/exit_status.h"

namespace pictarium::cli {

// The commands that go through the engine, one per operation. Each takes
// an invocation already checked against its syntax.
[[nodiscard]] ExitStatus runCreate(const Invocation& call);
[[nodiscard]] ExitStatus runAdd(const Invocation& call);
[[nodiscard]] ExitStatus runList(const Invocation& call);
[[nodiscard]] ExitStatus runPicture(const Invocation& call);
[[nodiscard]] ExitStatus runExport(const Invocation& call);
[[nodiscard]] ExitStatus runDelete(const Invocation& call);
[[nodiscard]] ExitStatus runSearch(const Invocation& call);
[[nodiscard]] ExitStatus runInfo(const Invocation& call);

}  // namespace pictarium::cli
