#pragma once

#include "cli/command_syntax_p.h"

#include <QList>

namespace pictarium::cli {

// Every command of the tool with its syntax, help and implementation.
[[nodiscard]] const QList<CommandSyntax>& commandTable();

}  // namespace pictarium::cli
