#pragma once

#include <QString>

namespace pictarium {

// Where the file's own name starts in `path`: after the last "/" or "\".
// Equal to path.size() when the path ends with a separator.
[[nodiscard]] qsizetype fileNameStart(const QString& path);

// The position of the dot that starts the file's own extension, or -1 when
// its name has none; a dot in a folder's name does not count.
[[nodiscard]] qsizetype extensionDot(const QString& path);

}  // namespace pictarium
