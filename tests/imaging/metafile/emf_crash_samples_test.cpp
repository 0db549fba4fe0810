#include "imaging/metafile/emf_reader.h"
#include "tests/imaging/metafile/emf_samples.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace pictarium::test {

namespace {

const QDir samples(QStringLiteral(PICTARIUM_TEST_DATA "/emf"));

QByteArray sampleBytes(const QString& relativePath) {
    QFile file(samples.filePath(relativePath));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relativePath.toStdString();
    return file.readAll();
}

TEST(EmfSeedsTest, theFuzzerSeedsAreReadableMetafiles) {
    const QStringList seeds =
        QDir(samples.filePath(QStringLiteral("seeds"))).entryList(QDir::Files);
    EXPECT_GE(seeds.size(), emfSamplesOfEveryKind().size());
    for (const QString& seed : seeds) {
        EXPECT_FALSE(decodeEnhancedMetafile(sampleBytes(QStringLiteral("seeds/") + seed)).isNull())
            << seed.toStdString();
    }
}

// A curve widened with a wide dash-dot pen across two billion units once
// took millions of dashes, and minutes.
TEST(EmfCrashSamplesTest, widenedDashedCurve) {
    const QImage picture =
        decodeEnhancedMetafile(sampleBytes(QStringLiteral("crashes/widened-dashed-curve.emf")));
    EXPECT_EQ(picture.size(), QSize(120, 80));
}

// Clipping to paths widened with dashes across a device a billion pixels
// wide once spent minutes combining paths of millions of elements, before
// the cut-off end of the file refused it.
TEST(EmfCrashSamplesTest, clipToWidenedDashes) {
    EXPECT_TRUE(
        decodeEnhancedMetafile(sampleBytes(QStringLiteral("crashes/clip-to-widened-dashes.emf")))
            .isNull());
}

// A curve stroked with a pen 77,000 pixels wide, reaching a million pixels
// outside the picture, once kept the rasterizer busy for minutes.
TEST(EmfCrashSamplesTest, farReachingWidePen) {
    const QImage picture =
        decodeEnhancedMetafile(sampleBytes(QStringLiteral("crashes/far-reaching-wide-pen.emf")));
    EXPECT_EQ(picture.size(), QSize(120, 80));
}

// A path widened three times with a dashed pen two million pixels wide
// grew to millions of elements and ran the fuzzer out of memory.
TEST(EmfCrashSamplesTest, widenedTwice) {
    const QImage picture =
        decodeEnhancedMetafile(sampleBytes(QStringLiteral("crashes/widened-twice.emf")));
    EXPECT_EQ(picture.size(), QSize(120, 80));
}

// A metafile image drawn into a destination 27 million billion pixels
// wide and a fraction of one high once sized its drawing past an int.
TEST(EmfCrashSamplesTest, metafileImageOneSideHuge) {
    const QImage picture = decodeEnhancedMetafile(
        sampleBytes(QStringLiteral("crashes/metafile-image-one-side-huge.emf")));
    EXPECT_EQ(picture.size(), QSize(120, 80));
}

}  // namespace

}  // namespace pictarium::test
