#pragma once

#include <QString>

namespace pictarium {

// The base that "Créer une base" makes of the name chosen in its box: the
// file's own extension becomes ".bdp", and a file name without one gets
// ".bdp" added; a dot in a folder's name does not count. Empty when the
// name has no file part.
[[nodiscard]] QString newBaseName(const QString& chosen);

}  // namespace pictarium
