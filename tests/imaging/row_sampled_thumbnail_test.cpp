#include "imaging/core/row_sampled_thumbnail.h"
#include "imaging/core/bitmap_codec.h"
#include "tests/imaging/bitmap_bytes.h"
#include "tests/stored_base.h"

#include <QLinearGradient>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

namespace pictarium::test {
namespace {

// A bitmap file of `picture` at `bits` bits: up to 8 on a grey palette of
// that depth, 16 as 5-5-5.
QByteArray bitmapOf(const QImage& picture, int bits, bool topDown) {
    QList<QRgb> greys;
    ByteWriter palette;
    for (int i = 0, count = bits <= 8 ? 1 << bits : 0; i < count; ++i) {
        greys.append(qRgb(i * 255 / (count - 1), i * 255 / (count - 1), i * 255 / (count - 1)));
        palette.bytes(bgr(greys.last())).u8(0);
    }
    const QImage source = bits > 8 ? picture.convertToFormat(bits == 16   ? QImage::Format_RGB555
                                                             : bits == 24 ? QImage::Format_BGR888
                                                                          : QImage::Format_RGB32)
                                   : picture.convertToFormat(
                                         bits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8,
                                         greys, Qt::ThresholdDither);
    ByteWriter rows;
    for (int row = 0; row < source.height(); ++row) {
        const uchar* line = source.constScanLine(topDown ? row : source.height() - 1 - row);
        for (int x = 0; bits == 4 && x < source.width(); x += 2) {
            rows.u8(line[x] << 4 | (x + 1 < source.width() ? line[x + 1] : 0));
        }
        if (bits != 4) {
            rows.bytes(QByteArrayView(line, (source.width() * bits + 7) / 8));
        }
        rows.align(4);
    }
    ByteWriter header;
    header.u32les({40, source.width(), topDown ? -source.height() : source.height()});
    header.u16les({1, bits}).u32les({0, rows.size(), 0, 0, greys.size(), 0});
    return bitmapFile(header.result(), palette.result(), rows.result());
}

// Kind 0 is a smooth ramp; the others one-pixel horizontal stripes,
// vertical stripes or checks: their white pixels in a 2 x 2 tile.
QImage pictureOf(int kind) {
    QImage tile(2, 2, QImage::Format_RGB32);
    for (int i = 0; i < 4; ++i) {
        tile.setPixel(i % 2, i / 2, (kind >> i & 1) != 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    QLinearGradient ramp(0, 0, 601, 397);
    ramp.setStops({{0, QColor(250, 10, 40)}, {0.5, QColor(30, 240, 90)}, {1, Qt::white}});
    QImage picture(601, 397, QImage::Format_RGB32);
    QPainter(&picture).fillRect(picture.rect(), kind == 0 ? QBrush(ramp) : QBrush(tile));
    return picture;
}

class SampledBitmap : public testing::TestWithParam<std::tuple<int, int, bool, int>> {};

TEST_P(SampledBitmap, isCloseToTheWholePictureScaledDownAndNeverAliases) {
    const auto [kind, bits, topDown, edge] = GetParam();
    const QByteArray file = bitmapOf(pictureOf(kind), bits, topDown);
    const auto plan = RowSampledThumbnail::plan(file, file.size(), edge);
    ASSERT_TRUE(plan);
    const QImage thumbnail = plan->make(
        [&](std::int64_t row) { return file.mid(plan->rowOffset(row), plan->rowBytes()); });
    const QImage whole = pictureFromBitmapFile(file).scaled(edge, edge, Qt::KeepAspectRatio,
                                                            Qt::SmoothTransformation);
    ASSERT_EQ(thumbnail.size(), whole.size());
    int worst = 0;
    double total = 0;
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x) {
            const int expected = kind == 0 ? qGray(whole.pixel(x, y)) : 128;
            worst = std::max(worst, std::abs(qGray(thumbnail.pixel(x, y)) - expected));
            total += std::abs(qGray(thumbnail.pixel(x, y)) - expected);
        }
    }
    if (kind == 0) {
        EXPECT_LT(total / whole.width() / whole.height(), 4.0);
    } else {
        EXPECT_LE(worst, 16);  // grey everywhere: no moiré
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, SampledBitmap,
                         testing::Combine(testing::Values(0, 0b1100, 0b1010, 0b1001),
                                          testing::Values(1, 4, 8, 16, 24, 32), testing::Bool(),
                                          testing::Values(32, 64, 200)));

TEST(RowSampledThumbnail, readsAFewHundredRowsOfAHugePicture) {
    QByteArray headers = bitmapOf(QImage(6000, 1, QImage::Format_RGB32), 24, false).left(54);
    setInt32(headers, 22, 4000);
    const auto plan = RowSampledThumbnail::plan(headers, 54 + 4000 * 18000, 256);
    ASSERT_TRUE(plan);
    std::vector<std::int64_t> fetched;
    const QImage thumbnail = plan->make([&](std::int64_t row) {
        fetched.push_back(row);
        return QByteArray(18000, '\x40');
    });
    EXPECT_EQ(thumbnail.size(), QSize(256, 170));
    EXPECT_EQ(thumbnail.pixel(100, 100), qRgb(0x40, 0x40, 0x40));
    // The planned rows, each once, and no other.
    std::sort(fetched.begin(), fetched.end());
    EXPECT_EQ(fetched, plan->rows());
    EXPECT_LE(fetched.size(), 4U * 170U);
}

TEST(RowSampledThumbnail, refusesWhatItCannotSampleOrTrust) {
    const QByteArray good = bitmapOf(QImage(40, 30, QImage::Format_RGB32), 24, false);
    // Run-length, bit fields, too many rows, too wide, pixels past the end or
    // inside the headers, a core header, 64 bits, two planes.
    const QList<std::pair<qsizetype, std::int32_t>> lies = {{30, 1},      {30, 3},       {22, 300},
                                                            {18, 100000}, {10, 1 << 20}, {10, 30},
                                                            {14, 12},     {28, 64},      {26, 2}};
    for (const auto& [at, value] : lies) {
        const QByteArray field = at == 26 || at == 28 ? le16(value) : le32(value);
        const QByteArray file = QByteArray(good).replace(at, field.size(), field);
        EXPECT_FALSE(RowSampledThumbnail::plan(file, file.size(), 16)) << at << " " << value;
    }
    EXPECT_FALSE(RowSampledThumbnail::plan(good, good.size() - 200, 16));
    const auto plan = RowSampledThumbnail::plan(good, good.size(), 16);
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan->make([](std::int64_t) { return QByteArray(60, '\0'); }).isNull());
}

}  // namespace
}  // namespace pictarium::test
