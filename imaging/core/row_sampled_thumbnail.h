#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace pictarium {

// The size of a thumbnail of a picture: within edge × edge pixels, the
// proportions kept, never larger than the picture, at least one pixel.
[[nodiscard]] QSize thumbnailSize(QSize picture, int edge);

// One row of a bitmap's pixels, numbered as the file stores them (row 0
// comes first in the file): its bytes, fewer or none when it cannot be read.
using BitmapRowReader = std::function<QByteArray(std::int64_t fileRow)>;

// A thumbnail of an uncompressed bitmap made from a few of its rows, so
// that a huge picture costs a few hundred rows rather than all of them.
// Each thumbnail pixel averages every column of its span and two pairs of
// adjacent rows spread over its row span (all rows of a short span); where
// the picture shrinks, spans are widened to an even number of pixels, so
// that thin stripes and checks come out as the colour between, no moiré.
class RowSampledThumbnail {
public:
    // Header bytes beyond this are not looked for: bitmaps with a longer
    // palette or gap are not sampled.
    static constexpr qsizetype MaxHeadersLength = 4096;

    // The plan for the bitmap file of `fileSize` bytes that `start`
    // begins (the file and info headers and the palette, up to the pixels;
    // more is ignored). Nothing when it cannot be sampled: run-length or
    // bit-field pixels, headers other than Windows' own, a picture over the
    // pixel limit, or headers that promise more than the file holds.
    [[nodiscard]] static std::optional<RowSampledThumbnail> plan(QByteArrayView start,
                                                                 std::int64_t fileSize, int edge);

    [[nodiscard]] QSize size() const { return mSize; }
    // The file and info headers and the palette: the bytes before the pixels.
    [[nodiscard]] const QByteArray& headers() const { return mHeaders; }
    [[nodiscard]] std::int64_t rowBytes() const { return mRowBytes; }
    // Where a row starts in the file.
    [[nodiscard]] std::int64_t rowOffset(std::int64_t fileRow) const {
        return mHeaders.size() + fileRow * mRowBytes;
    }
    // The file rows the thumbnail is made from, each once, in file order.
    [[nodiscard]] std::vector<std::int64_t> rows() const;

    // The thumbnail from the rows `readRow` gives; null when one of them
    // comes short, or as soon as `stop` is set.
    [[nodiscard]] QImage make(const BitmapRowReader& readRow,
                              const std::atomic<bool>* stop = nullptr) const;

private:
    RowSampledThumbnail() = default;

    // The picture rows whose average makes thumbnail row `row`.
    [[nodiscard]] std::vector<std::int64_t> pictureRowsOf(int row) const;
    [[nodiscard]] std::int64_t fileRowOf(std::int64_t pictureRow) const;
    // The picture of `rows` rows of pixels laid one after the other.
    [[nodiscard]] QImage decodeRows(const QByteArray& pixels, int rows) const;

    QByteArray mHeaders;
    std::int64_t mWidth = 0;
    std::int64_t mHeight = 0;
    bool mTopDown = false;
    std::int64_t mRowBytes = 0;
    std::int64_t mLastRowBytes = 0;  // the last row may lack its padding
    QSize mSize;
};

}  // namespace pictarium
