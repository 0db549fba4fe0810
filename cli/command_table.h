#pragma once

#include "command_line.h"

#include <QList>

namespace pictarium::cli {

// Every command of the tool with its syntax, help and implementation.
[[nodiscard]] const QList<CommandSyntax>& commandTable();

}  // namespace pictarium::cli
