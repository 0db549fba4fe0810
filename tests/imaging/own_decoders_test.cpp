#include "imaging/decoders/clipboard_file_decoder.h"
#include "imaging/decoders/gem_image_decoder.h"
#include "imaging/decoders/icon_decoder.h"
#include "imaging/decoders/msp_decoder.h"
#include "imaging/decoders/pc_paint_decoder.h"
#include "imaging/decoders/photoshop_decoder.h"
#include "imaging/decoders/pict_decoder.h"
#include "imaging/decoders/sun_raster_decoder.h"
#include "imaging/decoders/targa_decoder.h"
#include "imaging/picture_completeness_p.h"
#include "tests/imaging/byte_writer.h"
#include "tests/imaging/hand_built_samples.h"
#include "tests/imaging/library_samples.h"
#include "tests/imaging/reference_pictures.h"
#include "tests/imaging/sample_catalog.h"

#include <gtest/gtest.h>

namespace pictarium::test {

namespace {

constexpr QRgb Black = 0xFF000000;
constexpr QRgb White = 0xFFFFFFFF;

bool rowIs(const QImage& picture, int y, QRgb colour) {
    for (int x = 0; x < picture.width(); ++x) {
        if (picture.pixel(x, y) != colour) {
            return false;
        }
    }
    return true;
}

TEST(MspDecoderTest, anEmptyPackedRowIsWhiteAndAnOverlongRunStopsAtItsRow) {
    ByteWriter msp;
    msp.bytes("LinS").u16le(16).u16le(2).padTo(32);
    msp.u16le(0).u16le(3);       // row lengths: empty, then one run
    msp.u8(0).u8(200).u8(0x00);  // 200 black bytes into a 2-byte row
    const QImage picture = decodeMspPicture(msp.result());
    ASSERT_EQ(picture.size(), QSize(16, 2));
    EXPECT_TRUE(rowIs(picture, 0, White));
    EXPECT_TRUE(rowIs(picture, 1, Black));
}

TEST(GemDecoderTest, lineRepeatsStopAtThePictureHeight) {
    ByteWriter gem;
    gem.u16be(1).u16be(8).u16be(1).u16be(2).u16be(85).u16be(85).u16be(8).u16be(3);
    gem.u8(0).u8(0).u8(0xFF).u8(200).u8(0x81);  // a solid black line, 200 times
    const QImage picture = decodeGemImage(gem.result());
    ASSERT_EQ(picture.size(), QSize(8, 3));
    EXPECT_TRUE(rowIs(picture, 2, Black));
}

TEST(GemDecoderTest, aLineRunWithoutItsMarkerIsRefused) {
    ByteWriter gem;
    gem.u16be(1).u16be(8).u16be(1).u16be(2).u16be(85).u16be(85).u16be(8).u16be(1);
    gem.u8(0).u8(0).u8(0x00).u8(1).u8(0x81);
    EXPECT_TRUE(decodeGemImage(gem.result()).isNull());
}

ByteWriter pcPaintMonochromeHeader(int width, int height, int blocks) {
    ByteWriter paint;
    paint.u16le(0x1234).u16le(width).u16le(height).u32le(0).u8(0x01).u8(0xFF).u8('C');
    paint.u16le(0).u16le(0).u16le(blocks);
    return paint;
}

TEST(PcPaintDecoderTest, aLongRunFillsThePictureAndNoMore) {
    ByteWriter paint = pcPaintMonochromeHeader(8, 2, 1);
    paint.u16le(10).u16le(2).u8(0x55).u8(0x55).u8(0).u16le(65535).u8(0x00);
    const QImage picture = decodePcPaintPicture(paint.result());
    ASSERT_EQ(picture.size(), QSize(8, 2));
    EXPECT_TRUE(rowIs(picture, 0, Black));
    EXPECT_TRUE(rowIs(picture, 1, Black));
}

TEST(PcPaintDecoderTest, blocksThatUnpackToTooFewBytesAreRefused) {
    ByteWriter paint = pcPaintMonochromeHeader(8, 2, 1);
    paint.u16le(6).u16le(1).u8(0x55).u8(0xFF);
    EXPECT_TRUE(decodePcPaintPicture(paint.result()).isNull());
}

QByteArray redBlueBitFieldsDib() {
    ByteWriter dib;
    dib.u32le(40).u32le(2).u32le(1).u16le(1).u16le(16).u32le(3).u32le(4);
    dib.u32le(0).u32le(0).u32le(0).u32le(0);
    dib.u32le(0xF800).u32le(0x07E0).u32le(0x001F);  // 5-6-5 masks after the header
    dib.u16le(0xF800).u16le(0x001F);
    return dib.result();
}

TEST(ClipboardDecoderTest, bitFieldMasksAfterTheHeaderAreHonoured) {
    const QImage picture = decodePackedDib(redBlueBitFieldsDib());
    ASSERT_EQ(picture.size(), QSize(2, 1));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 0, 0));  // 5 bits scaled to the full range
    EXPECT_EQ(picture.pixel(1, 0), qRgb(0, 0, 255));
}

TEST(ClipboardDecoderTest, theDibEntryIsPreferredAndEntriesMustLieInTheFile) {
    ByteWriter bitmap;  // a 1 x 1 white device bitmap
    bitmap.u16le(0).u16le(1).u16le(1).u16le(2).u8(1).u8(1).u32le(0).u16le(0x8000);
    const QByteArray dib = redBlueBitFieldsDib();
    ByteWriter clip;
    clip.u16le(0xC350).u16le(2);
    const std::uint32_t first = 4 + 2 * 89;
    clip.u16le(2).u32le(std::uint32_t(bitmap.size())).u32le(first).fill(79);
    clip.u16le(8).u32le(std::uint32_t(dib.size())).u32le(first + std::uint32_t(bitmap.size()));
    clip.fill(79).bytes(bitmap.result()).bytes(dib);
    EXPECT_EQ(decodeClipboardFile(clip.result()).size(), QSize(2, 1));

    EXPECT_TRUE(decodeClipboardFile(clip.result().chopped(1)).isNull());
}

// Magick++ reads a WPG's embedded PostScript record with whatever reader
// its first bytes name; the check in front of it refuses such files.
ByteWriter sunRasterHeader(int width, int height, int depth, int type, int mapLength = 0) {
    ByteWriter raster;
    raster.u16be(0x59A6).u16be(0x6A95);
    for (const int value : {width, height, depth, 0, type, mapLength > 0 ? 1 : 0, mapLength}) {
        raster.u16be(value >> 16).u16be(value & 0xFFFF);
    }
    return raster;
}

TEST(SunRasterDecoderTest, runsAndEveryDepthDecode) {
    // One bit, run-length encoded, no map: set bits are black. Rows of 16 bits.
    ByteWriter mono = sunRasterHeader(10, 2, 1, 2);
    mono.u8(0x80).u8(0x01).u8(0xFF).u8(0x80).u8(0x00).u8(0x00);  // FF FF, then 80 00
    const QImage one = decodeSunRaster(mono.result());
    ASSERT_EQ(one.size(), QSize(10, 2));
    EXPECT_EQ(one.pixel(9, 0), qRgb(0, 0, 0));
    EXPECT_EQ(one.pixel(0, 1), qRgb(0, 0, 0));
    EXPECT_EQ(one.pixel(1, 1), qRgb(255, 255, 255));
    // Four bits through a map of reds, then greens, then blues.
    ByteWriter nibbles = sunRasterHeader(3, 1, 4, 1, 6);
    nibbles.u8(10).u8(20).u8(30).u8(40).u8(50).u8(60).u8(0x01).u8(0x10);
    const QImage four = decodeSunRaster(nibbles.result());
    ASSERT_EQ(four.size(), QSize(3, 1));
    EXPECT_EQ(four.pixel(0, 0), qRgb(10, 30, 50));
    EXPECT_EQ(four.pixel(1, 0), qRgb(20, 40, 60));
    EXPECT_EQ(four.pixel(2, 0), qRgb(20, 40, 60));
    // 24 bits encoded (blue, green, red), 32 bits with a leading byte that is not colour.
    ByteWriter deep = sunRasterHeader(2, 1, 24, 2);
    deep.u8(0x80).u8(0x02).u8(0x80).u8(1).u8(2).u8(3).u8(0);
    EXPECT_EQ(decodeSunRaster(deep.result()).pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(decodeSunRaster(deep.result()).pixel(1, 0), qRgb(3, 2, 1));
    ByteWriter padded = sunRasterHeader(1, 1, 32, 1);
    padded.u8(0x00).u8(0x10).u8(0x20).u8(0x30);
    EXPECT_EQ(decodeSunRaster(padded.result()).pixel(0, 0), qRgb(0x30, 0x20, 0x10));
    ByteWriter rgbOrder = sunRasterHeader(1, 1, 32, 3);
    rgbOrder.u8(0xFF).u8(0x10).u8(0x20).u8(0x30);
    EXPECT_EQ(decodeSunRaster(rgbOrder.result()).pixel(0, 0), qRgb(0x10, 0x20, 0x30));
}

TEST(SunRasterDecoderTest, filesThatPromiseMoreThanTheyHoldAreRefused) {
    ByteWriter cut = sunRasterHeader(4, 4, 8, 1);
    cut.fill(10);
    EXPECT_TRUE(decodeSunRaster(cut.result()).isNull());
    ByteWriter huge = sunRasterHeader(8000, 8000, 8, 2);
    huge.u8(0x80).u8(0xFF).u8(0x00);
    EXPECT_TRUE(decodeSunRaster(huge.result()).isNull());
    ByteWriter badDepth = sunRasterHeader(1, 1, 16, 1);
    badDepth.fill(2);
    EXPECT_TRUE(decodeSunRaster(badDepth.result()).isNull());
}

// An icon directory of one entry per image, the images after it.
QByteArray iconFile(const QList<std::pair<int, QByteArray>>& images) {
    ByteWriter icon;
    icon.u16le(0).u16le(1).u16le(static_cast<int>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const auto& [size, image] : images) {
        icon.u8(size).u8(size).u8(0).u8(0).u16le(1).u16le(32);
        icon.u32le(static_cast<std::uint32_t>(image.size())).u32le(offset);
        offset += static_cast<std::uint32_t>(image.size());
    }
    for (const auto& image : images) {
        icon.bytes(image.second);
    }
    return icon.result();
}

// A device-independent bitmap of an icon: its header says twice the height.
ByteWriter iconDib(int size, int bits) {
    ByteWriter dib;
    dib.u32le(40).u32le(size).u32le(2 * size).u16le(1).u16le(bits).u32le(0);
    dib.fill(20);
    return dib;
}

TEST(IconDecoderTest, theAndMaskOrTheAlphaBytesMakeTransparentPixels) {
    // 24 bits, bottom row first (blue, white; red, green), then the mask:
    // the bottom row's second pixel and the top row's first are see-through.
    ByteWriter colour = iconDib(2, 24);
    colour.u8(255).u8(0).u8(0).u8(255).u8(255).u8(255).fill(2);
    colour.u8(0).u8(0).u8(255).u8(0).u8(255).u8(0).fill(2);
    colour.u8(0x40).fill(3).u8(0x80).fill(3);
    ByteWriter tiny = iconDib(1, 24);
    tiny.u8(0).u8(0).u8(0).fill(1).fill(4);
    const QImage masked = decodeIcon(iconFile({{1, tiny.result()}, {2, colour.result()}}));
    ASSERT_EQ(masked.size(), QSize(2, 2));  // the largest image
    EXPECT_EQ(qAlpha(masked.pixel(0, 0)), 0);
    EXPECT_EQ(masked.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(masked.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(masked.pixel(1, 1)), 0);

    // 32 bits whose fourth bytes are alpha: the mask gives way to them.
    ByteWriter alpha = iconDib(1, 32);
    alpha.u8(10).u8(20).u8(30).u8(128).u8(0x80).fill(3);
    EXPECT_EQ(decodeIcon(iconFile({{1, alpha.result()}})).pixel(0, 0), qRgba(30, 20, 10, 128));

    // An entry that points past the file's end.
    QByteArray cut = iconFile({{2, colour.result()}});
    cut.chop(8);
    EXPECT_TRUE(decodeIcon(cut.left(30)).isNull());
}

ByteWriter photoshopHeader(int channels, int width, int height, int depth, int mode) {
    ByteWriter psd;
    psd.bytes("8BPS").u16be(1).fill(6).u16be(channels);
    psd.u16be(0).u16be(height).u16be(0).u16be(width).u16be(depth).u16be(mode);
    return psd;
}

TEST(PhotoshopDecoderTest, indexedGreyRgbAndCmykMergedPicturesDecode) {
    // Indexed, raw: a palette of 256 reds, greens and blues.
    ByteWriter indexed = photoshopHeader(1, 2, 1, 8, 2);
    indexed.u16be(0).u16be(768);
    for (int channel = 0; channel < 3; ++channel) {
        for (int i = 0; i < 256; ++i) {
            indexed.u8(channel == 0 ? i : (channel == 1 ? 255 - i : 7));
        }
    }
    indexed.fill(8).u16be(0).u8(3).u8(200);
    const QImage palette = decodePhotoshop(indexed.result());
    ASSERT_EQ(palette.size(), QSize(2, 1));
    EXPECT_EQ(palette.pixel(0, 0), qRgb(3, 252, 7));
    EXPECT_EQ(palette.pixel(1, 0), qRgb(200, 55, 7));

    // RGB of 16 bits in PackBits: each row of each channel, a repeat of 4 bytes.
    ByteWriter deep = photoshopHeader(3, 2, 1, 16, 3);
    deep.fill(12).u16be(1).u16be(2).u16be(2).u16be(2);
    for (const int value : {0x12, 0x34, 0x56}) {
        deep.u8(0xFD).u8(value);
    }
    EXPECT_EQ(decodePhotoshop(deep.result()).pixel(1, 0), qRgb(0x12, 0x34, 0x56));

    // CMYK, stored inverted: 255 is no ink.
    ByteWriter cmyk = photoshopHeader(4, 1, 1, 8, 4);
    cmyk.fill(12).u16be(0).u8(255).u8(0).u8(255).u8(128);
    EXPECT_EQ(decodePhotoshop(cmyk.result()).pixel(0, 0), qRgb(128, 0, 128));

    // A row that unpacks short, and more rows than the file holds.
    ByteWriter shortRow = photoshopHeader(1, 4, 1, 8, 1);
    shortRow.fill(12).u16be(1).u16be(2).u8(0xFE).u8(9);
    EXPECT_TRUE(decodePhotoshop(shortRow.result()).isNull());
    ByteWriter cut = photoshopHeader(3, 100, 100, 8, 3);
    cut.fill(12).u16be(0).fill(50);
    EXPECT_TRUE(decodePhotoshop(cut.result()).isNull());
}

TEST(PictDecoderTest, pixelMapsOfImageMagickDecodeToTheirPixels) {
    const QImage colour = colourReference();
    for (const char* type : {"TrueColor", "Palette"}) {
        const QImage decoded = decodePict(writtenByMagick(colour, "PICT", {type, ""}));
        ASSERT_EQ(decoded.size(), colour.size()) << type;
        EXPECT_LE(largestDifference(decoded, colour, 1), 1) << type;
    }
    const QImage mono = monochromeReference();
    EXPECT_EQ(
        largestDifference(decodePict(writtenByMagick(mono, "PICT", {"Bilevel", ""})), mono, 1), 0);
}

// The picture's size and frame, the version, and for version 2 its header.
ByteWriter pictStart(int version, int width, int height) {
    ByteWriter pict;
    pict.u16be(0).u16be(0).u16be(0).u16be(height).u16be(width);
    if (version == 1) {
        pict.u8(0x11).u8(0x01);
    } else {
        pict.u16be(0x0011).u16be(0x02FF).u16be(0x0C00).fill(24);
    }
    return pict;
}

TEST(PictDecoderTest, bitmapsDirectPixelsAndQuickTimeJpegAreDrawnInTheirPlace) {
    // Version 1: a line (stepped over), then a 1-bit bitmap into the right half.
    ByteWriter one = pictStart(1, 4, 1);
    one.u8(0x20).fill(8);
    one.u8(0x90).u16be(2).u16be(0).u16be(0).u16be(1).u16be(2);  // row bytes, bounds
    one.u16be(0).u16be(0).u16be(1).u16be(2).u16be(0).u16be(2).u16be(1).u16be(4).u16be(0);
    one.u8(0x80).u8(0x00).u8(0xFF);
    const QImage bitmap = decodePict(one.result());
    ASSERT_EQ(bitmap.size(), QSize(4, 1));
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(bitmap.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(bitmap.pixel(3, 0), qRgb(255, 255, 255));

    // Version 2 after a 512-byte header: 16-bit direct pixels, unpacked.
    ByteWriter two;
    two.fill(512);
    two.bytes(pictStart(2, 2, 1).result());
    two.u16be(0x009A).u32le(0xFF).u16be(0x8004).u16be(0).u16be(0).u16be(1).u16be(2);
    two.u16be(0).u16be(1).u32le(0).u32le(0).u32le(0).u16be(16).u16be(16).u16be(3).u16be(5);
    two.fill(12);
    two.u16be(0).u16be(0).u16be(1).u16be(2).u16be(0).u16be(0).u16be(1).u16be(2).u16be(0);
    two.u16be(0x7C00).u16be(0x001F).u16be(0x00FF);
    const QImage direct = decodePict(two.result());
    ASSERT_EQ(direct.size(), QSize(2, 1));
    EXPECT_EQ(direct.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(direct.pixel(1, 0), qRgb(0, 0, 255));

    // A QuickTime JPEG over the whole frame.
    const QImage photo = colourReference();
    const QByteArray jpeg = writtenByQt(photo, "jpeg", 95);
    ByteWriter quickTime = pictStart(2, photo.width(), photo.height());
    quickTime.u16be(0x8200).u16be(0).u16be(static_cast<int>(jpeg.size() + 68));
    quickTime.fill(68).bytes(jpeg);
    if (quickTime.result().size() % 2 != 0) {
        quickTime.u8(0);
    }
    quickTime.u16be(0x00FF);
    const QImage embedded = decodePict(quickTime.result());
    ASSERT_EQ(embedded.size(), photo.size());
    EXPECT_LE(largestDifference(embedded, photo, 8), 24);
}

// Pictures drawn with QuickDraw's own shapes rather than pixels.
TEST(PictDecoderTest, linesShapesPolygonsAndTextAreDrawn) {
    ByteWriter pict = pictStart(2, 100, 60);
    pict.u16be(0x001A).u16be(0xFFFF).u16be(0).u16be(0);  // red foreground
    pict.u16be(0x0031).u16be(5).u16be(5).u16be(25).u16be(
        35);                                             // paint rect: top, left, bottom, right
    pict.u16be(0x001A).u16be(0).u16be(0).u16be(0xFFFF);  // blue
    pict.u16be(0x0007).u16be(3).u16be(3);                // a 3 x 3 pen
    pict.u16be(0x0050).u16be(5).u16be(50).u16be(35).u16be(90);             // frame oval
    pict.u16be(0x000A).fill(8, '\xFF');                                    // solid fill pattern
    pict.u16be(0x0074).u16be(22).u16be(40).u16be(10).u16be(58).u16be(30);  // fill polygon
    pict.u16be(40).u16be(10).u16be(58).u16be(10).u16be(58).u16be(30);
    pict.u16be(0x0020).u16be(50).u16be(40).u16be(50).u16be(95);  // line at y 50, x 40 to 95
    // Paint an L-shaped region: 0-20 across on rows 0-9, 0-10 on rows 10-19.
    pict.u16be(0x001A).u16be(0).u16be(0xFFFF).u16be(0);  // green
    pict.u16be(0x0081).u16be(36).u16be(0).u16be(0).u16be(20).u16be(20);
    for (const int word : {0, 0, 20, 0x7FFF, 10, 10, 20, 0x7FFF, 20, 0, 10, 0x7FFF, 0x7FFF}) {
        pict.u16be(word);
    }
    pict.u16be(0x0033).u16be(2).u16be(30).u16be(12).u16be(45);  // invert over red and white
    pict.u16be(0x00FF);
    const QImage drawn = decodePict(pict.result());
    ASSERT_EQ(drawn.size(), QSize(100, 60));
    EXPECT_EQ(drawn.pixel(32, 10), qRgb(0, 255, 255));
    EXPECT_EQ(drawn.pixel(40, 10), qRgb(0, 0, 0));
    EXPECT_EQ(drawn.pixel(32, 14), qRgb(255, 0, 0));  // below the inverted band
    EXPECT_EQ(drawn.pixel(20, 15), qRgb(255, 0, 0));
    EXPECT_EQ(drawn.pixel(70, 7), qRgb(0, 0, 255));   // the oval's edge, drawn inside it
    EXPECT_EQ(drawn.pixel(70, 20), White);            // framed, not filled
    EXPECT_EQ(drawn.pixel(15, 55), qRgb(0, 0, 255));  // inside the polygon
    EXPECT_EQ(drawn.pixel(28, 42), White);            // outside it
    EXPECT_EQ(drawn.pixel(60, 51), qRgb(0, 0, 255));  // the line, below its position
    EXPECT_EQ(drawn.pixel(15, 3), qRgb(0, 255, 0));   // the region's upper band
    EXPECT_EQ(drawn.pixel(5, 15), qRgb(0, 255, 0));   // its lower band
    EXPECT_EQ(drawn.pixel(15, 15), qRgb(255, 0, 0));  // beside it, the red rectangle shows
}

TEST(PictDecoderTest, picturesWithoutPixelsOrCutShortAreRefused) {
    ByteWriter comments = pictStart(2, 8, 8);
    comments.u16be(0x00A0).u16be(100).u16be(0x00FF);  // a short comment, nothing drawn
    EXPECT_TRUE(decodePict(comments.result()).isNull());
    const QByteArray whole = writtenByMagick(colourReference(), "PICT", {"TrueColor", ""});
    ASSERT_FALSE(decodePict(whole).isNull());
    EXPECT_TRUE(decodePict(whole.left(whole.size() / 2)).isNull());
}

ByteWriter targaHeader(int type, int width, int height, int depth, int descriptor,
                       int mapLength = 0, int mapBits = 0) {
    ByteWriter tga;
    tga.u8(0).u8(mapLength > 0 ? 1 : 0).u8(type).u16le(0).u16le(mapLength).u8(mapBits);
    tga.u16le(0).u16le(0).u16le(width).u16le(height).u8(depth).u8(descriptor);
    return tga;
}

TEST(TargaDecoderTest, everyTypeDepthAndOrientationDecodes) {
    // Grey and alpha of 16 bits, top row first: grey, then its alpha.
    ByteWriter greyAlpha = targaHeader(3, 2, 1, 16, 0x28);
    greyAlpha.u8(200).u8(255).u8(40).u8(0);
    const QImage grey = decodeTarga(greyAlpha.result());
    ASSERT_EQ(grey.format(), QImage::Format_ARGB32);
    EXPECT_EQ(grey.pixel(0, 0), qRgba(200, 200, 200, 255));
    EXPECT_EQ(qAlpha(grey.pixel(1, 0)), 0);
    // The default origin is the bottom left: the first row is the bottom one.
    ByteWriter bottomUp = targaHeader(2, 1, 2, 24, 0);
    bottomUp.u8(255).u8(0).u8(0).u8(0).u8(0).u8(255);
    const QImage rows = decodeTarga(bottomUp.result());
    EXPECT_EQ(rows.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(rows.pixel(0, 0), qRgb(255, 0, 0));
    // Right to left, 15 bits: 31 is 255.
    ByteWriter mirrored = targaHeader(2, 2, 1, 15, 0x30);
    mirrored.u16le(0x7C00).u16le(0x001F);
    const QImage fifteen = decodeTarga(mirrored.result());
    EXPECT_EQ(fifteen.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(fifteen.pixel(0, 0), qRgb(0, 0, 255));
    // Colour-mapped, run-length: a run of three, then one raw pixel.
    ByteWriter mapped = targaHeader(9, 4, 1, 8, 0x20, 2, 24);
    mapped.u8(0).u8(0).u8(255).u8(0).u8(255).u8(0);  // red, green (BGR)
    mapped.u8(0x82).u8(1).u8(0x00).u8(0);
    const QImage runs = decodeTarga(mapped.result());
    EXPECT_EQ(runs.pixel(2, 0), qRgb(0, 255, 0));
    EXPECT_EQ(runs.pixel(3, 0), qRgb(255, 0, 0));
}

TEST(TargaDecoderTest, filesThatHoldTooFewPixelsAreRefused) {
    ByteWriter cut = targaHeader(2, 4, 4, 24, 0);
    cut.fill(20);
    EXPECT_TRUE(decodeTarga(cut.result()).isNull());
    ByteWriter runs = targaHeader(10, 4000, 4000, 32, 0);
    runs.u8(0xFF).fill(4);
    EXPECT_TRUE(decodeTarga(runs.result()).isNull());
    ByteWriter depth = targaHeader(3, 1, 1, 24, 0);
    depth.fill(3);
    EXPECT_TRUE(decodeTarga(depth.result()).isNull());
}

TEST(WordPerfectCheckTest, embeddedPostScriptRecordsAreRefused) {
    const QByteArray plain = wordPerfectGraphic(sixteenColourReference());
    ASSERT_TRUE(isCompleteWordPerfect(plain));
    const QByteArray embedded = "push graphic-context\nviewbox 0 0 8 8\npop graphic-context\n";
    ByteWriter record;
    record.u8(0x11).u8(0xFF).u16le(int(8 + embedded.size())).fill(8).bytes(embedded);
    EXPECT_FALSE(isCompleteWordPerfect(plain.first(16) + record.result() + plain.sliced(16)));
    EXPECT_FALSE(isCompleteWordPerfect(plain.chopped(2) + record.result() + plain.last(2)));
}

}  // namespace

}  // namespace pictarium::test
