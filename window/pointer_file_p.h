#pragma once

#include <QString>

namespace pictarium {

// "default.tsi", the one file that survives a run: it names the default
// base, as 8-bit text with no terminator and no line end.
inline const QString PointerFileName = QStringLiteral("default.tsi");

// The path held by the pointer file at pointerFile, or the empty string
// when there is none, it is unreadable or the path it names is gone.
[[nodiscard]] QString readPointerFile(const QString& pointerFile);

// Replaces the pointer file so that it holds exactly the path's bytes.
[[nodiscard]] bool writePointerFile(const QString& pointerFile, const QString& path);

}  // namespace pictarium
