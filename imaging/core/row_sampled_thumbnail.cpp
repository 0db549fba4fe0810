#include "imaging/core/row_sampled_thumbnail.h"

#include "base/byte_order.h"
#include "imaging/core/bitmap_codec.h"
#include "imaging/core/bmp_decoder.h"
#include "imaging/core/dib_geometry.h"

#include <algorithm>
#include <numeric>

namespace pictarium {

namespace {

constexpr qsizetype HeightFieldAt = DibGeometry::FileHeaderSize + 8;
// Spans longer than this are sampled by two pairs of adjacent rows.
constexpr std::int64_t RowsReadWhole = 4;

bool isSampledDepth(std::int64_t bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32;
}

// Where span `index` of `count` spans over `length` pixels starts; never
// empty, since a thumbnail is never larger than its picture.
std::int64_t spanStart(std::int64_t index, std::int64_t count, std::int64_t length) {
    return index * length / count;
}

// Widens a span of an odd number of pixels by one where the picture goes
// on: an odd number would give one-pixel stripes the shade of one of their
// colours rather than the one between.
void widenToEven(std::int64_t& first, std::int64_t& end, std::int64_t length) {
    if ((end - first) % 2 == 0) {
        return;
    }
    if (end < length) {
        ++end;
    } else if (first > 0) {
        --first;
    }
}

// One thumbnail row: each pixel the mean of its columns over every row of
// `band`.
void averageColumns(const QImage& band, int width, QRgb* line) {
    const std::int64_t columns = band.width();
    for (int x = 0; x < width; ++x) {
        std::int64_t first = spanStart(x, width, columns);
        std::int64_t end = spanStart(x + 1, width, columns);
        if (columns > width) {
            widenToEven(first, end, columns);
        }
        std::int64_t red = 0;
        std::int64_t green = 0;
        std::int64_t blue = 0;
        for (int y = 0; y < band.height(); ++y) {
            const auto* pixels = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            for (std::int64_t column = first; column < end; ++column) {
                red += qRed(pixels[column]);
                green += qGreen(pixels[column]);
                blue += qBlue(pixels[column]);
            }
        }
        const std::int64_t count = (end - first) * band.height();
        line[x] = qRgb(static_cast<int>((red + count / 2) / count),
                       static_cast<int>((green + count / 2) / count),
                       static_cast<int>((blue + count / 2) / count));
    }
}

}  // namespace

QSize thumbnailSize(QSize picture, int edge) {
    if (picture.width() <= edge && picture.height() <= edge) {
        return picture;
    }
    return picture.scaled(edge, edge, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

std::optional<RowSampledThumbnail> RowSampledThumbnail::plan(QByteArrayView start,
                                                             std::int64_t fileSize, int edge) {
    DibGeometry geometry;
    if (edge < 1 || !readGeometry(start, geometry) || !bitmapHeaderIsPlausible(start, fileSize)) {
        return std::nullopt;
    }
    const std::int64_t infoHeaderSize = getUint32(start.data() + DibGeometry::FileHeaderSize);
    const std::int64_t pixelsAt = geometry.pixelsAt;
    if (!isWindowsInfoHeaderSize(infoHeaderSize) ||
        geometry.compression != DibGeometry::Uncompressed ||
        !isSampledDepth(geometry.bitsPerPixel) ||
        pixelsAt < DibGeometry::FileHeaderSize + infoHeaderSize ||
        pixelsAt > std::min(start.size(), MaxHeadersLength)) {
        return std::nullopt;
    }
    RowSampledThumbnail plan;
    plan.mHeaders = start.first(pixelsAt).toByteArray();
    plan.mWidth = geometry.width;
    plan.mHeight = geometry.height;
    plan.mTopDown = geometry.topDown;
    plan.mRowBytes = geometry.rowBytes();
    plan.mLastRowBytes = (geometry.width * geometry.bitsPerPixel + 7) / 8;
    plan.mSize = thumbnailSize(
        QSize(static_cast<int>(geometry.width), static_cast<int>(geometry.height)), edge);
    // The decoder says whether it takes these headers and palette: one row.
    if (plan.decodeRows(QByteArray(plan.mRowBytes, '\0'), 1).isNull()) {
        return std::nullopt;
    }
    return plan;
}

std::vector<std::int64_t> RowSampledThumbnail::rows() const {
    std::vector<std::int64_t> all;
    for (int row = 0; row < mSize.height(); ++row) {
        for (const std::int64_t pictureRow : pictureRowsOf(row)) {
            all.push_back(fileRowOf(pictureRow));
        }
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

QImage RowSampledThumbnail::make(const BitmapRowReader& readRow,
                                 const std::atomic<bool>* stop) const {
    QImage thumbnail(mSize, QImage::Format_RGB32);
    if (thumbnail.isNull()) {
        return {};
    }
    for (int row = 0; row < mSize.height(); ++row) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
            return {};
        }
        const std::vector<std::int64_t> pictureRows = pictureRowsOf(row);
        QByteArray pixels;
        pixels.reserve(static_cast<qsizetype>(pictureRows.size()) * mRowBytes);
        for (const std::int64_t pictureRow : pictureRows) {
            QByteArray bytes = readRow(fileRowOf(pictureRow));
            if (bytes.size() < mLastRowBytes) {
                return {};
            }
            bytes.resize(mRowBytes, '\0');
            pixels += bytes;
        }
        const QImage band = decodeRows(pixels, static_cast<int>(pictureRows.size()));
        if (band.isNull()) {
            return {};
        }
        averageColumns(band, mSize.width(), reinterpret_cast<QRgb*>(thumbnail.scanLine(row)));
    }
    return thumbnail;
}

std::vector<std::int64_t> RowSampledThumbnail::pictureRowsOf(int row) const {
    std::int64_t first = spanStart(row, mSize.height(), mHeight);
    std::int64_t end = spanStart(row + 1, mSize.height(), mHeight);
    if (mHeight > mSize.height()) {
        widenToEven(first, end, mHeight);
    }
    const std::int64_t count = end - first;
    if (count <= RowsReadWhole) {
        std::vector<std::int64_t> rows(static_cast<std::size_t>(count));
        std::iota(rows.begin(), rows.end(), first);
        return rows;
    }
    // Adjacent pairs: a one-pixel stripe gives one row of each colour.
    const std::int64_t upper = first + count / 4;
    const std::int64_t lower = first + 3 * count / 4;
    return {upper, upper + 1, lower, lower + 1};
}

std::int64_t RowSampledThumbnail::fileRowOf(std::int64_t pictureRow) const {
    return mTopDown ? pictureRow : mHeight - 1 - pictureRow;
}

QImage RowSampledThumbnail::decodeRows(const QByteArray& pixels, int rows) const {
    QByteArray file = mHeaders;
    putInt32(file.data() + HeightFieldAt, rows);
    file += pixels;
    return decodeBitmapFile(file).convertToFormat(QImage::Format_RGB32);
}

}  // namespace pictarium
