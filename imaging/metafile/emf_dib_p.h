#pragma once

#include "imaging/metafile/emf_record_p.h"

#include <QImage>

#include <cstdint>

namespace pictarium::emf {

// Where a record keeps a device-independent bitmap: its header and colour
// table, then its pixels, each as an offset from the record's start and a
// size.
struct DibLocation {
    std::uint32_t usage = 0;  // 0: the colour table holds colours
    std::uint32_t headerOffset = 0;
    std::uint32_t headerSize = 0;
    std::uint32_t bitsOffset = 0;
    std::uint32_t bitsSize = 0;
};

// The bitmap a record carries, top row first; a null picture when it has
// none, its parts fall outside the record or it does not decode. With
// `keepAlpha`, 32-bit pixels keep their (premultiplied) alpha.
[[nodiscard]] QImage dibOfRecord(const RecordReader& reader, const DibLocation& location,
                                 bool keepAlpha = false);

// Whether the bitmap's rows are stored bottom row first, as most are.
[[nodiscard]] bool isBottomUpDib(const RecordReader& reader, const DibLocation& location);

}  // namespace pictarium::emf
