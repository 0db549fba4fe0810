#include "imaging/decoders/flashpix_decoder.h"
#include "tests/imaging/flashpix_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pictarium::test {

namespace {

// A picture two tiles wide and one and a half high, each pixel different.
QImage gradient(int width = 70, int height = 96, bool withAlpha = false) {
    QImage picture(width, height, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(
                x, y,
                qRgba(x * 255 / width, y * 255 / height, (x + y) * 255 / (width + height),
                      withAlpha ? (x * 4) % 256 : 255));
        }
    }
    return picture;
}

int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

TEST(FlashPixDecoderTest, rawTilesGiveTheLargestResolutionExactlyEdgesIncluded) {
    const QImage picture = gradient();
    const QImage decoded = decodeFlashPix(flashPixFile({picture, 3, 3, FlashPixTiles::Raw, true}));
    ASSERT_EQ(decoded.size(), picture.size());
    EXPECT_EQ(largestDifference(decoded, picture), 0);

    const QImage grey = decodeFlashPix(flashPixFile({picture, 1, 1, FlashPixTiles::Raw, false}));
    ASSERT_EQ(grey.size(), picture.size());
    EXPECT_EQ(grey.pixel(69, 95), qRgb(qRed(picture.pixel(69, 95)), qRed(picture.pixel(69, 95)),
                                       qRed(picture.pixel(69, 95))));
}

TEST(FlashPixDecoderTest, jpegTilesWithOwnOrSharedTablesDecode) {
    const QImage picture = gradient(130, 70);
    for (const FlashPixTiles tiles : {FlashPixTiles::Jpeg, FlashPixTiles::JpegWithSharedTables}) {
        const QImage decoded = decodeFlashPix(flashPixFile({picture, 3, 3, tiles, true}));
        ASSERT_EQ(decoded.size(), picture.size());
        EXPECT_LE(largestDifference(decoded, picture), 12);  // JPEG's own loss
    }
    const QImage grey = decodeFlashPix(flashPixFile({picture, 1, 1, FlashPixTiles::Jpeg, true}));
    ASSERT_EQ(grey.size(), picture.size());
    EXPECT_NEAR(qGreen(grey.pixel(100, 10)), qRed(picture.pixel(100, 10)), 12);
}

TEST(FlashPixDecoderTest, opacityOneColourTilesAndPhotoYcc) {
    const QImage translucent = gradient(70, 40, true);
    const QImage decoded =
        decodeFlashPix(flashPixFile({translucent, 4, 3, FlashPixTiles::Raw, false}));
    ASSERT_EQ(decoded.size(), translucent.size());
    EXPECT_EQ(qAlpha(decoded.pixel(10, 5)), qAlpha(translucent.pixel(10, 5)));
    EXPECT_EQ(qAlpha(decoded.pixel(60, 5)), qAlpha(translucent.pixel(60, 5)));

    QImage plain(100, 100, QImage::Format_RGB32);
    plain.fill(qRgb(10, 200, 30));
    const QImage filled =
        decodeFlashPix(flashPixFile({plain, 3, 3, FlashPixTiles::OneColour, false}));
    ASSERT_EQ(filled.size(), plain.size());
    EXPECT_EQ(filled.pixel(99, 99), qRgb(10, 200, 30));

    // Neutral PhotoYCC: chroma at its zero points gives grey of 1.3584 Y.
    plain.fill(qRgb(100, 156, 137));
    const QImage ycc = decodeFlashPix(flashPixFile({plain, 3, 2, FlashPixTiles::Raw, false}));
    ASSERT_FALSE(ycc.isNull());
    EXPECT_EQ(ycc.pixel(5, 5), qRgb(136, 136, 136));
}

TEST(FlashPixDecoderTest, brokenFilesAreRefused) {
    const QByteArray whole = flashPixFile({gradient(), 3, 3, FlashPixTiles::Raw, true});
    ASSERT_FALSE(decodeFlashPix(whole).isNull());
    EXPECT_TRUE(decodeFlashPix(whole.first(whole.size() / 2)).isNull());  // cut short

    QByteArray looped = whole;
    const qsizetype fat = 512;
    looped[fat + 4] = 1;  // the directory's chain comes back to itself
    looped[fat + 5] = looped[fat + 6] = looped[fat + 7] = 0;
    EXPECT_TRUE(decodeFlashPix(looped).isNull());

    QByteArray notCompound = whole;
    notCompound[0] = 'X';
    EXPECT_TRUE(decodeFlashPix(notCompound).isNull());
}

}  // namespace

}  // namespace pictarium::test
