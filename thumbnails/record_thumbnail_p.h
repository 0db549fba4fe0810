#pragma once

#include <QImage>

#include <atomic>
#include <cstdint>

namespace pictarium {

class ReadOnlyBase;
class ThumbnailCache;

// Record `index`'s thumbnail within edge × edge pixels, taken from `cache`
// when the same bytes made one already, and kept there when made. Rows
// sampled where the picture allows, else the whole picture decoded and
// scaled down. Null when the record cannot be read, when the base changed
// under the read, or once `stop` is set.
[[nodiscard]] QImage recordThumbnail(const ReadOnlyBase& base, std::int32_t index, int edge,
                                     ThumbnailCache& cache, const std::atomic<bool>& stop);

}  // namespace pictarium
