#pragma once

#include <QString>

namespace pictarium::cli {

// One message or line of output, in UTF-8, followed by a line break. The
// engine's texts use CR LF between lines; they become plain line breaks.
void printOut(const QString& text);
void printError(const QString& text);
// Rewrites the current line of standard error with `text`, without ending it.
void printProgress(const QString& text);

}  // namespace pictarium::cli
