#pragma once

#include "cli/exit_status.h"

#include <QStringList>

namespace pictarium::cli {

// Runs one command line; `words` leaves out the program's own name.
[[nodiscard]] ExitStatus runCommandLine(const QStringList& words);

}  // namespace pictarium::cli
