#pragma once

#include <QString>

#include <cstdint>

namespace pictarium {

// The file name a record's picture is exported under: its 0-based index
// on five digits, then the extension ("00042.png"), so that a folder of
// exports lists in the base's order.
[[nodiscard]] QString exportedPictureName(std::int32_t index, const QString& extension);

}  // namespace pictarium
