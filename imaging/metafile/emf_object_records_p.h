#pragma once

#include "imaging/metafile/emf_objects_p.h"
#include "imaging/metafile/emf_record_p.h"

#include <cstdint>

namespace pictarium::emf {

// An object a record creates, and the table index it goes to.
struct CreatedObject {
    std::uint32_t index = 0;
    GdiObject object;
};

[[nodiscard]] CreatedObject readCreatePen(const Record& record);
[[nodiscard]] CreatedObject readExtCreatePen(const Record& record);
[[nodiscard]] CreatedObject readCreateBrushIndirect(const Record& record);
// Pattern brushes made from a bitmap, the monochrome ones included.
[[nodiscard]] CreatedObject readPatternBrush(const Record& record);
[[nodiscard]] CreatedObject readExtCreateFontIndirect(const Record& record);

}  // namespace pictarium::emf
