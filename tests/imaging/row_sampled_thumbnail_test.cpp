#include "imaging/core/row_sampled_thumbnail.h"
#include "imaging/core/bitmap_codec.h"
#include "tests/imaging/bitmap_bytes.h"
#include "tests/stored_base.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pictarium::test {
namespace {

// A bitmap file of `picture` at `bits` bits; up to 8 bits on a grey
// palette of that depth, 16 bits as 5-5-5.
QByteArray bitmapOf(const QImage& picture, int bits, bool topDown) {
    QList<QRgb> greys;
    for (int i = 0, count = 1 << std::min(bits, 8); bits <= 8 && i < count; ++i) {
        greys.append(qRgb(i * 255 / (count - 1), i * 255 / (count - 1), i * 255 / (count - 1)));
    }
    const QImage source =
        bits <= 8 ? picture.convertToFormat(QImage::Format_Indexed8, greys, Qt::ThresholdDither)
                  : picture.convertToFormat(QImage::Format_RGB32);
    ByteWriter rows;
    for (int row = 0; row < source.height(); ++row) {
        const int y = topDown ? row : source.height() - 1 - row;
        std::uint32_t packed = 0;
        for (int x = 0; x < source.width(); ++x) {
            const QRgb c = source.pixel(x, y);
            if (bits <= 8) {
                packed = packed << bits | static_cast<std::uint32_t>(source.pixelIndex(x, y));
                if ((x + 1) * bits % 8 == 0 || x + 1 == source.width()) {
                    rows.u8(static_cast<int>(packed << (8 - (x + 1) * bits % 8) % 8));
                    packed = 0;
                }
            } else if (bits == 16) {
                rows.u16le((qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | qBlue(c) >> 3);
            } else {
                rows.bytes(bgr(c)).fill(bits / 8 - 3);
            }
        }
        rows.align(4);
    }
    const int height = topDown ? -source.height() : source.height();
    ByteWriter header;
    header.u32les({40, source.width(), height}).u16les({1, bits});
    header.u32les({0, rows.size(), 0, 0, greys.size(), 0});
    ByteWriter palette;
    for (const QRgb grey : greys) {
        palette.bytes(bgr(grey)).u8(0);
    }
    return bitmapFile(header.result(), palette.result(), rows.result());
}

BitmapRowReader rowsOf(const QByteArray& file, const RowSampledThumbnail& plan) {
    return
        [&file, &plan](std::int64_t row) { return file.mid(plan.rowOffset(row), plan.rowBytes()); };
}

QImage gradient(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            picture.setPixel(x, y,
                             qRgb(x * 255 / size.width(), y * 255 / size.height(),
                                  (x + 2 * y) * 255 / (size.width() + 2 * size.height())));
        }
    }
    return picture;
}

double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

class SampledDepth : public testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(SampledDepth, isCloseToTheWholePictureScaledDown) {
    const auto [bits, topDown] = GetParam();
    const QByteArray file = bitmapOf(gradient(QSize(601, 397)), bits, topDown);
    const auto plan = RowSampledThumbnail::plan(file, file.size(), 64);
    ASSERT_TRUE(plan);
    const QImage sampled = plan->make(rowsOf(file, *plan));
    const QImage expected = pictureFromBitmapFile(file).scaled(QSize(64, 42), Qt::IgnoreAspectRatio,
                                                               Qt::SmoothTransformation);
    ASSERT_EQ(sampled.size(), expected.size());
    EXPECT_LT(meanDifference(sampled, expected), 4.0);
}

INSTANTIATE_TEST_SUITE_P(Depths, SampledDepth,
                         testing::Combine(testing::Values(1, 4, 8, 16, 24, 32), testing::Bool()));

class FinePattern : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(FinePattern, comesOutGrey) {
    const auto [pattern, bits] = GetParam();
    QImage picture(600, 400, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const int phase = pattern == 0 ? y : pattern == 1 ? x : x + y;
            picture.setPixel(x, y, phase % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    const QByteArray file = bitmapOf(picture, bits, false);
    const auto plan = RowSampledThumbnail::plan(file, file.size(), 64);
    ASSERT_TRUE(plan);
    const QImage sampled = plan->make(rowsOf(file, *plan));
    for (int y = 0; y < sampled.height(); ++y) {
        for (int x = 0; x < sampled.width(); ++x) {
            ASSERT_NEAR(qGray(sampled.pixel(x, y)), 128, 16) << x << "," << y;
        }
    }
}

// Horizontal stripes, vertical stripes, checks; one bit and 24 bits.
INSTANTIATE_TEST_SUITE_P(Patterns, FinePattern,
                         testing::Combine(testing::Values(0, 1, 2), testing::Values(1, 24)));

TEST(RowSampledThumbnail, readsAFewHundredRowsOfAHugePicture) {
    const QByteArray head = bitmapOf(QImage(6000, 1, QImage::Format_RGB32), 24, false).left(54);
    QByteArray headers = head;
    setInt32(headers, 22, 4000);
    const std::int64_t rowBytes = 6000 * 3;
    const auto plan = RowSampledThumbnail::plan(headers, 54 + 4000 * rowBytes, 256);
    ASSERT_TRUE(plan);
    std::vector<std::int64_t> fetched;
    const QImage thumbnail = plan->make([&](std::int64_t row) {
        fetched.push_back(row);
        return QByteArray(rowBytes, '\x40');
    });
    EXPECT_EQ(thumbnail.size(), QSize(256, 170));
    // Each planned row once, and no other.
    std::sort(fetched.begin(), fetched.end());
    EXPECT_EQ(fetched, plan->rows());
    EXPECT_EQ(std::adjacent_find(fetched.begin(), fetched.end()), fetched.end());
    EXPECT_LE(fetched.size(), 4U * 170U);
    EXPECT_EQ(thumbnail.pixel(100, 100), qRgb(0x40, 0x40, 0x40));
}

TEST(RowSampledThumbnail, refusesWhatItCannotSampleOrTrust) {
    const QByteArray good = bitmapOf(gradient(QSize(40, 30)), 24, false);
    // Run-length and bit fields; more rows than the file holds, too wide;
    // pixels past the end, inside the headers; a core header, 64 bits, two planes.
    const QList<std::pair<qsizetype, std::int32_t>> lies = {{30, 1},      {30, 3},       {22, 300},
                                                            {18, 100000}, {10, 1 << 20}, {10, 30},
                                                            {14, 12},     {28, 64},      {26, 2}};
    for (const auto& [at, value] : lies) {
        QByteArray file = good;
        if (at == 26 || at == 28) {
            file[at] = static_cast<char>(value);
        } else {
            setInt32(file, at, value);
        }
        EXPECT_FALSE(RowSampledThumbnail::plan(file, file.size(), 16)) << at << " " << value;
    }
    EXPECT_FALSE(RowSampledThumbnail::plan(good, good.size() - 200, 16));
    const auto plan = RowSampledThumbnail::plan(good, good.size(), 16);
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan->make([](std::int64_t) { return QByteArray(60, '\0'); }).isNull());
}

}  // namespace
}  // namespace pictarium::test
