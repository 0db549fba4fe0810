#include "imaging/metafile/wmf_charsets_p.h"
#include "imaging/metafile/wmf_reader.h"
#include "tests/imaging/metafile/ink_count.h"
#include "tests/imaging/metafile/wmf_samples.h"
#include "tests/imaging/metafile/wmf_writer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace pictarium::test {

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Green = 0xFF00FF00;
constexpr QRgb Blue = 0xFF0000FF;
constexpr int NullPen = 5;
constexpr int SolidBrush = 0;

// A placeable file of 100 x 80 pixels whose logical units are pixels,
// with a null pen in slot 0.
WmfWriter placed(int width = 100, int height = 80) {
    WmfWriter wmf(QRect(0, 0, width, height), 96);
    wmf.createPen(NullPen, 0, 0).selectObject(0);
    return wmf;
}

TEST(WmfSeedsTest, theFuzzerSeedsAreReadableMetafiles) {
    const QDir seeds(QStringLiteral(PICTARIUM_TEST_DATA "/wmf/seeds"));
    const QStringList names = seeds.entryList(QDir::Files);
    EXPECT_GE(names.size(), wmfSamplesOfEveryKind().size());
    for (const QString& name : names) {
        QFile file(seeds.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_FALSE(decodeWindowsMetafile(file.readAll()).isNull()) << name.toStdString();
    }
}

TEST(WmfSizeTest, aPlaceableFileTakesItsBoxAtNinetySixDotsPerInch) {
    WmfWriter wmf(QRect(0, 0, 1440, 720), 1440);
    EXPECT_EQ(decodeWindowsMetafile(wmf.finish()).size(), QSize(96, 48));
}

TEST(WmfSizeTest, aPlainFileTakesItsWindowFittedWithin1024Pixels) {
    WmfWriter small;
    small.setWindow(QRect(0, 0, 300, 200)).rectangle(QRect(QPoint(0, 0), QPoint(300, 200)));
    EXPECT_EQ(decodeWindowsMetafile(small.finish()).size(), QSize(300, 200));

    WmfWriter large;
    large.setWindow(QRect(0, 0, 20000, 10000)).rectangle(QRect(QPoint(0, 0), QPoint(9, 9)));
    EXPECT_EQ(decodeWindowsMetafile(large.finish()).size(), QSize(1024, 512));
}

// Without a window, the drawing itself gives the area.
TEST(WmfSizeTest, aPlainFileWithoutWindowCoversItsDrawing) {
    WmfWriter wmf;
    wmf.createBrush(SolidBrush, Red).selectObject(0);
    wmf.rectangle(QRect(QPoint(50, 20), QPoint(150, 70)));
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    ASSERT_EQ(picture.size(), QSize(101, 51));
    EXPECT_EQ(picture.pixel(50, 25), Red);
}

// Objects take the lowest free slot: after the first brush is deleted,
// the third brush takes its slot and the second keeps its own.
TEST(WmfObjectsTest, aDeletedSlotIsTakenAgain) {
    WmfWriter wmf = placed();
    wmf.createBrush(SolidBrush, Red).createBrush(SolidBrush, Green);  // slots 1, 2
    wmf.deleteObject(1).createBrush(SolidBrush, Blue);                // slot 1 again
    wmf.selectObject(1).rectangle(QRect(QPoint(0, 0), QPoint(50, 80)));
    wmf.selectObject(2).rectangle(QRect(QPoint(50, 0), QPoint(100, 80)));
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixel(20, 40), Blue);
    EXPECT_EQ(picture.pixel(80, 40), Green);
}

TEST(WmfObjectsTest, aSelectedRegionClipsAndFillRegionFillsIt) {
    WmfWriter wmf = placed();
    wmf.createBrush(SolidBrush, Red).createRegion({QRect(10, 10, 30, 20)});  // slots 1, 2
    wmf.words(0x0228, {2, 1});  // FillRegion: region, brush
    wmf.createBrush(SolidBrush, Blue).createRegion({QRect(60, 40, 20, 20)});  // slots 3, 4
    wmf.selectObject(3).words(0x012C, {4});                                   // clip to slot 4
    wmf.rectangle(QRect(QPoint(0, 0), QPoint(100, 80)));
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixel(20, 20), Red);
    EXPECT_EQ(picture.pixel(70, 50), Blue);
    EXPECT_EQ(picture.pixel(50, 50), White);  // outside the clip
    EXPECT_EQ(picture.pixel(20, 50), White);
}

TEST(WmfBitmapTest, aStretchedDibKeepsItsRowsTheRightWayUp) {
    QImage quarters(2, 2, QImage::Format_RGB32);
    quarters.setPixel(0, 0, Red);
    quarters.setPixel(1, 0, Green);
    quarters.setPixel(0, 1, Blue);
    quarters.setPixel(1, 1, White);
    WmfWriter wmf = placed();
    wmf.stretchDib(quarters, QRect(0, 0, 100, 80));
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixel(20, 20), Red);
    EXPECT_EQ(picture.pixel(80, 20), Green);
    EXPECT_EQ(picture.pixel(20, 60), Blue);
    EXPECT_EQ(picture.pixel(80, 60), White);
}

// Text aligned to the current position starts where MoveTo left it and
// spreads its characters by the advances the record gives.
TEST(WmfTextTest, textFollowsTheCurrentPositionAndItsAdvances) {
    constexpr int UpdateCurrentPosition = 1;
    constexpr int Baseline = 24;
    WmfWriter wmf = placed(300, 60);
    wmf.createFont(-30, QStringLiteral("DejaVu Sans")).selectObject(1);
    wmf.words(0x012E, {UpdateCurrentPosition | Baseline});
    wmf.words(0x0102, {1});  // transparent background
    wmf.moveTo(QPoint(20, 45)).extTextOut(QPoint(0, 0), "III", {120, 120, 20});
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(inkIn(picture, QRect(0, 0, 15, 60)), 0);  // nothing before the position
    EXPECT_GT(inkIn(picture, QRect(15, 0, 30, 60)), 0);
    EXPECT_EQ(inkIn(picture, QRect(50, 0, 80, 60)), 0);  // the gap the advances leave
    EXPECT_GT(inkIn(picture, QRect(135, 0, 30, 60)), 0);
    EXPECT_GT(inkIn(picture, QRect(255, 0, 30, 60)), 0);
}

// A shape drawn in opaque mode once left Qt's background on for the
// text after it, drawn transparent: a black box came up around it.
TEST(WmfTextTest, transparentTextAfterAnOpaqueShapeHasNoBox) {
    constexpr int HatchedBrush = 2;
    WmfWriter wmf = placed(200, 60);
    wmf.record(0x0201, colourRef(0xFF000000));  // black background
    wmf.createBrush(HatchedBrush, Red, 0).selectObject(1);
    wmf.rectangle(QRect(QPoint(0, 0), QPoint(5, 5)));
    wmf.words(0x0102, {1});  // transparent background
    wmf.createFont(-30, QStringLiteral("DejaVu Sans")).selectObject(2);
    wmf.extTextOut(QPoint(20, 10), "- -");
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    ASSERT_FALSE(picture.isNull());
    const int ink = inkIn(picture, QRect(20, 10, 100, 40));
    EXPECT_GT(ink, 0);
    EXPECT_LT(ink, 600);  // two dashes, not a filled box
}

// A one-unit dashed pen on a window far larger than the picture is thinner
// than a pixel; GDI draws it one pixel wide, so it must still show.
TEST(WmfPenTest, aPenThinnerThanAPixelStillShows) {
    constexpr int Dash = 1;
    WmfWriter wmf(QRect(0, 0, 1440, 144), 1440);  // 96 x 10 pixels
    wmf.createPen(Dash, 1, 0xFF000000).selectObject(0);
    wmf.moveTo(QPoint(0, 72)).lineTo(QPoint(1440, 72));
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    ASSERT_EQ(picture.size(), QSize(96, 10));
    EXPECT_GT(inkIn(picture, picture.rect()), 10);
}

TEST(WmfRefusalTest, brokenFilesAreRefused) {
    WmfWriter wmf = placed();
    wmf.createBrush(SolidBrush, Red).selectObject(1).rectangle(QRect(0, 0, 50, 50));
    const QByteArray whole = wmf.finish();
    ASSERT_FALSE(decodeWindowsMetafile(whole).isNull());

    EXPECT_TRUE(decodeWindowsMetafile(whole.first(whole.size() - 10)).isNull());  // cut short
    QByteArray overrun = whole;
    overrun[22 + 18] = '\x7F';  // the first record claims more words than are left
    EXPECT_TRUE(decodeWindowsMetafile(overrun).isNull());
    QByteArray notMetafile = whole;
    notMetafile[22 + 2] = 5;  // a header of another size
    EXPECT_TRUE(decodeWindowsMetafile(notMetafile).isNull());
    EXPECT_TRUE(decodeWindowsMetafile(WmfWriter().finish()).isNull());  // nothing to size it by
}

TEST(WmfCharsetsTest, lettersOfTheFontsCodePage) {
    EXPECT_EQ(wmf::charsetText("\xE0\xFA", 177), QStringLiteral(u"\u05D0\u05EA"));  // Hebrew
    EXPECT_EQ(wmf::charsetText("\xC0\xFF", 204), QStringLiteral(u"\u0410\u044F"));  // Cyrillic
    EXPECT_EQ(wmf::charsetText("\xC1", 161), QStringLiteral(u"\u0391"));            // Greek
    EXPECT_EQ(wmf::charsetText("\x80\xE9", 0), QStringLiteral(u"\u20AC\u00E9"));    // Western
    EXPECT_EQ(wmf::charsetText("\x80", 177), QStringLiteral(u"\u20AC"));  // punctuation as Western
}

}  // namespace

}  // namespace pictarium::test
