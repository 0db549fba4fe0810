#include "engine/stored_picture_p.h"

#include "base/binary_file.h"
#include "engine/bdp_format.h"
#include "imaging/core/bitmap_codec.h"

#include <algorithm>

namespace pictarium {

namespace {

// Enough for the file header and the largest info header.
constexpr std::int32_t HeadLength = 14 + 124;

}  // namespace

QByteArray readStoredPicture(const BinaryFile& file, std::int64_t offset, std::int32_t length) {
    const auto prefix = static_cast<qsizetype>(RebuiltBitmapPrefix.size());
    const std::int64_t fileSize = prefix + std::int64_t{length};
    const std::int32_t headStored = std::min<std::int32_t>(length, HeadLength - 3);
    QByteArray bitmap(prefix + headStored, Qt::Uninitialized);
    std::copy(RebuiltBitmapPrefix.begin(), RebuiltBitmapPrefix.end(), bitmap.begin());
    file.readExactAt(offset, bitmap.data() + prefix, static_cast<std::size_t>(headStored));
    if (headStored == length || !bitmapHeaderIsPlausible(bitmap, fileSize)) {
        return bitmap;
    }
    bitmap.resize(fileSize);
    file.readExactAt(offset + headStored, bitmap.data() + prefix + headStored,
                     static_cast<std::size_t>(length - headStored));
    return bitmap;
}

}  // namespace pictarium
