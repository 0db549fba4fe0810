#pragma once

#include "imaging/metafile/emf_record_p.h"

#include <QPainterPath>

namespace pictarium::emf {

// A region as records hold it: a 32-byte header, then its rectangles. The
// path covers their union, in the units of the record that holds it; a
// region of very many rectangles is taken as its bounds.
[[nodiscard]] QPainterPath readRegion(RecordReader& reader);

}  // namespace pictarium::emf
