#include "thumbnails/record_thumbnail_p.h"

#include "engine/bdp_format.h"
#include "engine/read_only_base.h"
#include "imaging/core/bitmap_codec.h"
#include "imaging/core/row_sampled_thumbnail.h"
#include "thumbnails/thumbnail_cache.h"

#include <QCryptographicHash>

#include <algorithm>

namespace pictarium {

namespace {

// Goes into every key: a change to how thumbnails are made changes it.
constexpr std::int32_t KeyVersion = 2;
// A key hashes megabytes of rows for a large record: BLAKE2b does it about
// three times faster than SHA-256, and as safely.
constexpr auto KeyHash = QCryptographicHash::Blake2b_256;
constexpr auto Prefix = static_cast<qsizetype>(RebuiltBitmapPrefix.size());

// The key of a thumbnail hashes exactly the bytes it is made from, after
// how it is made and its edge: never the record's place or the base's name.
QByteArray keyStart(const char* method, int edge) {
    return QByteArray::number(KeyVersion) + '/' + method + '/' + QByteArray::number(edge);
}

QImage keptIfUnchanged(const ReadOnlyBase& base, ThumbnailCache& cache, const QByteArray& key,
                       const QImage& thumbnail) {
    // Written over in place while it was read: the bytes may be torn.
    if (thumbnail.isNull() || !base.isUnchanged()) {
        return {};
    }
    cache.store(key, thumbnail);
    return thumbnail;
}

QImage sampledThumbnail(const ReadOnlyBase& base, const StoredPictureLocation& location,
                        const RowSampledThumbnail& plan, int edge, ThumbnailCache& cache,
                        const std::atomic<bool>& stop) {
    const BitmapRowReader readRow = [&](std::int64_t row) {
        return base.read(location.offset - Prefix + plan.rowOffset(row), plan.rowBytes());
    };
    QCryptographicHash key(KeyHash);
    key.addData(keyStart("rows", edge));
    key.addData(plan.headers());
    for (const std::int64_t row : plan.rows()) {
        if (stop.load(std::memory_order_relaxed)) {
            return {};
        }
        key.addData(readRow(row));
    }
    const QByteArray name = key.result();
    if (QImage cached = cache.find(name); !cached.isNull()) {
        return cached;
    }
    return keptIfUnchanged(base, cache, name, plan.make(readRow, &stop));
}

QImage wholeThumbnail(const ReadOnlyBase& base, const StoredPictureLocation& location, int edge,
                      ThumbnailCache& cache, const std::atomic<bool>& stop) {
    const QByteArray file = base.pictureFile(location);
    // Only its headers were read: they show it cannot decode.
    if (file.size() != Prefix + location.length || stop.load(std::memory_order_relaxed)) {
        return {};
    }
    QCryptographicHash key(KeyHash);
    key.addData(keyStart("whole", edge));
    key.addData(file);
    const QByteArray name = key.result();
    if (QImage cached = cache.find(name); !cached.isNull()) {
        return cached;
    }
    const QImage picture = pictureFromBitmapFile(file);
    if (picture.isNull()) {
        return {};
    }
    const QImage thumbnail = picture
                                 .scaled(thumbnailSize(picture.size(), edge), Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_RGB32);
    return keptIfUnchanged(base, cache, name, thumbnail);
}

}  // namespace

QImage recordThumbnail(const ReadOnlyBase& base, std::int32_t index, int edge,
                       ThumbnailCache& cache, const std::atomic<bool>& stop) {
    const std::optional<StoredPictureLocation> location = base.pictureLocation(index);
    if (!location) {
        return {};
    }
    const qsizetype headLength =
        std::min<qsizetype>(location->length, RowSampledThumbnail::MaxHeadersLength - Prefix);
    const QByteArray start =
        QByteArray(RebuiltBitmapPrefix.data(), Prefix) + base.read(location->offset, headLength);
    const std::int64_t fileSize = Prefix + std::int64_t{location->length};
    if (const auto plan = RowSampledThumbnail::plan(start, fileSize, edge)) {
        return sampledThumbnail(base, *location, *plan, edge, cache, stop);
    }
    return wholeThumbnail(base, *location, edge, cache, stop);
}

}  // namespace pictarium
