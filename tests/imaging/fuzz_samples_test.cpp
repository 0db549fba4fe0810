// The inputs the fuzzers start from (tests/data/<target>/seeds) and those
// that once broke a reader (crashes), replayed on every build: the fuzzers
// themselves need Clang and run by hand.

#include "imaging/core/bmp_decoder.h"
#include "imaging/core/pixel_limit.h"
#include "imaging/decoders/clipboard_file_decoder.h"
#include "imaging/decoders/flashpix_decoder.h"
#include "imaging/decoders/gem_image_decoder.h"
#include "imaging/decoders/icon_decoder.h"
#include "imaging/decoders/msp_decoder.h"
#include "imaging/decoders/pc_paint_decoder.h"
#include "imaging/decoders/photoshop_decoder.h"
#include "imaging/decoders/pict_decoder.h"
#include "imaging/decoders/plain_pbm_decoder.h"
#include "imaging/decoders/sun_raster_decoder.h"
#include "imaging/decoders/targa_decoder.h"
#include "imaging/metafile/emf_reader.h"
#include "imaging/metafile/wmf_reader.h"
#include "imaging/picture_completeness_p.h"
#include "imaging/picture_format_p.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace pictarium::test {

namespace {

using Decoder = QImage (*)(QByteArrayView);

// Each fuzz target of fuzz/ and the function it feeds.
const std::map<QString, Decoder> Decoders = {
    {"bmp", decodeBitmapFile},
    {"icon", decodeIcon},
    {"msp", decodeMspPicture},
    {"photoshop", decodePhotoshop},
    {"pict", decodePict},
    {"plain_pbm", decodePlainPbm},
    {"sun_raster", decodeSunRaster},
    {"targa", decodeTarga},
    {"gem_image", decodeGemImage},
    {"clipboard_file", decodeClipboardFile},
    {"pc_paint", decodePcPaintPicture},
    {"flashpix", decodeFlashPix},
    {"emf", decodeEnhancedMetafile},
    {"wmf", decodeWindowsMetafile},
};

// What each crash sample gives today: its size, or none when refused.
const std::map<QString, QSize> CrashOutcomes = {
    // A curve widened with a wide dash-dot pen across two billion units
    // once took millions of dashes, and minutes.
    {"emf/crashes/widened-dashed-curve.emf", QSize(120, 80)},
    // Clipping to paths widened with dashes across a device a billion
    // pixels wide once took minutes before the cut-off end refused it.
    {"emf/crashes/clip-to-widened-dashes.emf", QSize()},
    // A pen 77,000 pixels wide reaching a million pixels outside the
    // picture once kept the rasterizer busy for minutes.
    {"emf/crashes/far-reaching-wide-pen.emf", QSize(120, 80)},
    // A path widened three times with a dashed pen two million pixels wide
    // ran the fuzzer out of memory.
    {"emf/crashes/widened-twice.emf", QSize(120, 80)},
    // A metafile image drawn 27 million billion pixels wide once sized its
    // drawing past an int.
    {"emf/crashes/metafile-image-one-side-huge.emf", QSize(120, 80)},
    // The colour table of a 32-bit pixel pattern once asked for 16 GiB.
    {"pict/crashes/direct-pattern-colour-table.pct", QSize()},
};

// Seeds that lead the fuzzer into a refusal rather than a picture.
const std::set<QString> RefusedSeeds = {
    // Its runs stop one padding byte short of the last row.
    "sun_raster/seeds/grey8-rle.ras",
};

QStringList samplesIn(const QString& folder) {
    const QDir dir(QStringLiteral(PICTARIUM_TEST_DATA "/") + folder);
    QStringList paths;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        paths << folder + '/' + name;
    }
    return paths;
}

QByteArray sampleBytes(const QString& path) {
    QFile file(QStringLiteral(PICTARIUM_TEST_DATA "/") + path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// The decoded picture, within the pixel limit; a refusal for being over it
// is an answer like a null picture.
QImage replay(Decoder decode, const QByteArray& bytes) {
    try {
        const QImage picture = decode(bytes);
        EXPECT_TRUE(picture.isNull() || isWithinPixelLimit(picture.width(), picture.height()));
        return picture;
    } catch (const PictureTooLarge&) {
        return {};
    }
}

TEST(FuzzSamplesTest, seedsDecodeAndCrashSamplesGiveWhatTheyGiveToday) {
    int crashes = 0;
    for (const auto& [target, decode] : Decoders) {
        const QStringList seeds = samplesIn(target + "/seeds");
        EXPECT_FALSE(seeds.isEmpty()) << target.toStdString();
        for (const QString& seed : seeds) {
            SCOPED_TRACE(seed.toStdString());
            EXPECT_EQ(replay(decode, sampleBytes(seed)).isNull(), RefusedSeeds.contains(seed));
        }
        for (const QString& crash : samplesIn(target + "/crashes")) {
            SCOPED_TRACE(crash.toStdString());
            const auto expected = CrashOutcomes.find(crash);
            ASSERT_NE(expected, CrashOutcomes.end()) << "a crash sample without its outcome";
            const QImage picture = replay(decode, sampleBytes(crash));
            EXPECT_EQ(picture.isNull() ? QSize() : picture.size(), expected->second);
            ++crashes;
        }
    }
    EXPECT_EQ(crashes, static_cast<int>(CrashOutcomes.size()));
}

// The structure target feeds the format recognition and the checks in
// front of lenient readers: each seed is recognised and found whole.
TEST(FuzzSamplesTest, structureSeedsAreWholeAndTheCrashIsNot) {
    using Check = bool (*)(QByteArrayView);
    const std::map<QString, Check> checks = {
        {"animation.gif", isCompleteGif},     {"bitmap-8.BMP", isCompleteBitmap},
        {"macpaint.mac", isCompleteMacPaint}, {"photo.jpg", isCompleteJpeg},
        {"run-length.rle", isCompleteBitmap}, {"wordperfect.wpg", isCompleteWordPerfect},
    };
    const QStringList seeds = samplesIn("picture_structure/seeds");
    ASSERT_EQ(seeds.size(), static_cast<qsizetype>(checks.size()));
    for (const QString& seed : seeds) {
        SCOPED_TRACE(seed.toStdString());
        const QByteArray bytes = sampleBytes(seed);
        EXPECT_TRUE(checks.at(seed.section('/', -1))(bytes));
        // MacPaint carries no signature: only its extension names it.
        if (!seed.endsWith(".mac")) {
            EXPECT_NE(sniffPictureFormat(bytes), PictureFormat::Unknown);
        }
    }
    // A GIF's width and depth read as a bitmap's once made the row size
    // times the height overflow.
    const QStringList crashes = samplesIn("picture_structure/crashes");
    ASSERT_EQ(crashes, QStringList{"picture_structure/crashes/bitmap-row-size-overflow"});
    EXPECT_FALSE(isCompleteBitmap(sampleBytes(crashes.first())));
}

}  // namespace

}  // namespace pictarium::test
