// The decoders of imaging/decoders, each given small files built byte by
// byte for its rules, and the files Magick++ writes where it writes them.

#include "base/byte_order.h"
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
#include "imaging/picture_completeness_p.h"
#include "tests/imaging/bitmap_bytes.h"
#include "tests/imaging/flashpix_writer.h"
#include "tests/imaging/hand_built_samples.h"
#include "tests/imaging/library_samples.h"
#include "tests/imaging/metafile/ink_count.h"
#include "tests/imaging/reference_pictures.h"
#include "tests/imaging/sample_catalog.h"

#include <gtest/gtest.h>

namespace pictarium::test {

namespace {

using Decoder = QImage (*)(QByteArrayView);

constexpr QRgb Transparent = 0;  // any colour of alpha 0

ByteWriter sunRasterHeader(int width, int height, int depth, int type, int mapLength = 0) {
    ByteWriter raster;
    raster.u32be(0x59A66A95);
    for (const int value : {width, height, depth, 0, type, mapLength > 0 ? 1 : 0, mapLength}) {
        raster.u32be(static_cast<std::uint32_t>(value));
    }
    return raster;
}

// An icon directory of one entry per image, the images after it.
QByteArray iconFile(const QList<std::pair<int, QByteArray>>& images) {
    ByteWriter icon;
    icon.u16les({0, 1, int(images.size())});
    qsizetype offset = 6 + 16 * images.size();
    for (const auto& [size, image] : images) {
        icon.u8(size).u8(size).u8(0).u8(0).u16les({1, 32}).u32les({image.size(), offset});
        offset += image.size();
    }
    for (const auto& image : images) {
        icon.bytes(image.second);
    }
    return icon.result();
}

// A device-independent bitmap of an icon: its header says twice the height.
ByteWriter iconDib(int size, int bits) {
    ByteWriter dib;
    dib.u32les({40, size, 2 * size}).u16les({1, bits}).fill(24);
    return dib;
}

ByteWriter photoshopHeader(int channels, int width, int height, int depth, int mode) {
    ByteWriter psd;
    psd.bytes("8BPS").u16be(1).fill(6).u16be(channels);
    psd.u16bes({0, height, 0, width, depth, mode});
    return psd;
}

// The picture's size and frame, the version, and for version 2 its header.
ByteWriter pictStart(int version, int width, int height) {
    ByteWriter pict;
    pict.u16bes({0, 0, 0, height, width});
    if (version == 1) {
        pict.u8(0x11).u8(0x01);
    } else {
        pict.u16bes({0x0011, 0x02FF, 0x0C00}).fill(24);
    }
    return pict;
}

ByteWriter targaHeader(int type, int width, int height, int depth, int descriptor,
                       int mapLength = 0, int mapBits = 0) {
    ByteWriter tga;
    tga.u8(0).u8(mapLength > 0 ? 1 : 0).u8(type).u16les({0, mapLength}).u8(mapBits);
    tga.u16les({0, 0, width, height}).u8(depth).u8(descriptor);
    return tga;
}

// A 2 x 1 DIB of 5-6-5 bit fields, the masks after its header: red, blue.
QByteArray redBlueBitFieldsDib() {
    ByteWriter dib;
    dib.u32les({40, 2, 1}).u16les({1, 16}).u32les({3, 4, 0, 0, 0, 0});
    return dib.u32les({0xF800, 0x07E0, 0x001F}).u16les({0xF800, 0x001F}).result();
}

// A Windows 3 clipboard of a 1 x 1 white device bitmap and that DIB.
QByteArray clipboardOfBitmapAndDib() {
    const QByteArray bitmap =
        ByteWriter().u16les({0, 1, 1, 2}).u8(1).u8(1).u32le(0).u16le(0x8000).result();
    return windows3Clipboard({{2, bitmap}, {8, redBlueBitFieldsDib()}});
}

// A 2 x 2 icon image of 24 bits, stored bottom row first (blue, white;
// red, green), whose mask makes the bottom row's second pixel and the top
// row's first see-through.
QByteArray maskedIconImage() {
    ByteWriter colour = iconDib(2, 24);
    colour.u8s({255, 0, 0, 255, 255, 255}).fill(2).u8s({0, 0, 255, 0, 255, 0}).fill(2);
    return colour.u8(0x40).fill(3).u8(0x80).fill(3).result();
}

// Indexed, raw: a palette of 256 reds, greens and blues.
QByteArray indexedPhotoshop() {
    ByteWriter indexed = photoshopHeader(1, 2, 1, 8, 2);
    indexed.u16be(0).u16be(768);
    for (int channel = 0; channel < 3; ++channel) {
        for (int i = 0; i < 256; ++i) {
            indexed.u8(channel == 0 ? i : (channel == 1 ? 255 - i : 7));
        }
    }
    return indexed.fill(8).u16be(0).u8(3).u8(200).result();
}

// A version 1 bitmap's row bytes, bounds, source, destination and mode:
// one row of 2 pixels drawn into the right half of a 4-pixel frame.
constexpr std::initializer_list<int> BitmapFields = {2, 0, 0, 1, 2, 0, 0, 1, 2, 0, 2, 1, 4, 0};

// Version 2 after a 512-byte header: 16-bit direct pixels, unpacked.
QByteArray pictDirectPixels() {
    ByteWriter pict;
    pict.fill(512).bytes(pictStart(2, 2, 1).result()).u16be(0x009A).u32le(0xFF);
    pict.u16bes({0x8004, 0, 0, 1, 2, 0, 1}).u32les({0, 0, 0}).u16bes({16, 16, 3, 5}).fill(12);
    return pict.u16bes({0, 0, 1, 2, 0, 0, 1, 2, 0, 0x7C00, 0x001F, 0x00FF}).result();
}

// QuickDraw's own shapes rather than pixels.
QByteArray pictShapes() {
    ByteWriter pict = pictStart(2, 100, 60);
    pict.u16bes({0x001A, 0xFFFF, 0, 0});        // red foreground
    pict.u16bes({0x0031, 5, 5, 25, 35});        // paint rect: top, left, bottom, right
    pict.u16bes({0x001A, 0, 0, 0xFFFF});        // blue
    pict.u16bes({0x0007, 3, 3});                // a 3 x 3 pen
    pict.u16bes({0x0050, 5, 50, 35, 90});       // frame oval
    pict.u16be(0x000A).fill(8, '\xFF');         // solid fill pattern
    pict.u16bes({0x0074, 22, 40, 10, 58, 30});  // fill polygon
    pict.u16bes({40, 10, 58, 10, 58, 30});
    pict.u16bes({0x0020, 50, 40, 50, 95});  // line at y 50, x 40 to 95
    // Paint an L-shaped region: 0-20 across on rows 0-9, 0-10 on rows 10-19.
    pict.u16bes({0x001A, 0, 0xFFFF, 0});  // green
    pict.u16bes({0x0081, 36, 0, 0, 20, 20});
    pict.u16bes({0, 0, 20, 0x7FFF, 10, 10, 20, 0x7FFF, 20, 0, 10, 0x7FFF, 0x7FFF});
    pict.u16bes({0x0033, 2, 30, 12, 45});  // invert over red and white
    return pict.u16be(0x00FF).result();
}

struct Decoded {
    const char* name;
    Decoder decode;
    QByteArray bytes;
    QSize size;
    QList<Probe> probes;
};

TEST(OwnDecodersTest, smallFilesDecodeToTheirPixels) {
    const Decoded files[] = {
        {"MSP: an empty packed row is white, an overlong run stops at its row", decodeMspPicture,
         mspHeader(MspVersion::Packed2, 16, 2).u16les({0, 3}).u8s({0, 200, 0x00}).result(),
         QSize(16, 2), probes(Probe{QRect(0, 0, 16, 1), White}, Probe{QRect(0, 1, 16, 1), Black})},
        // Pattern runs: AA 55 twice, then 0F F0 once on each of two lines.
        {"GEM: pattern runs", decodeGemImage,
         gemHeader(1, 32, 2).u8s({0, 2, 0xAA, 0x55, 0, 1, 0x0F, 0xF0, 0, 1, 0x0F, 0xF0}).result(),
         QSize(32, 2),
         probes(at(0, 0, Black), at(1, 0, White), at(8, 0, White), at(25, 0, Black),
                Probe{QRect(0, 1, 4, 1), White}, Probe{QRect(4, 1, 8, 1), Black},
                Probe{QRect(24, 1, 4, 1), Black}, Probe{QRect(28, 1, 4, 1), White})},
        {"GEM: line repeats stop at the picture's height", decodeGemImage,
         gemHeader(1, 8, 3).u8s({0, 0, 0xFF, 200, 0x81}).result(), QSize(8, 3),
         probes(Probe{QRect(0, 0, 8, 3), Black})},
        // A block of 10 bytes, 2 unpacked, marked by 0x55: a run of 65535 zeros.
        {"PC Paint: a long run fills the picture and no more", decodePcPaintPicture,
         pcPaintHeader(8, 2, 0x01, 0, {}, 1).u16les({10, 2, 0x5555, 0xFF00, 0x00FF}).result(),
         QSize(8, 2), probes(Probe{QRect(0, 0, 8, 2), Black})},
        {"DIB: bit field masks after the header, 5 bits scaled to the full range", decodePackedDib,
         redBlueBitFieldsDib(), QSize(2, 1), probes(at(0, 0, Red), at(1, 0, Blue))},
        {"clipboard: the DIB entry is preferred", decodeClipboardFile, clipboardOfBitmapAndDib(),
         QSize(2, 1), probes(at(0, 0, Red), at(1, 0, Blue))},
        // Rows of 16 bits, set bits black: FF FF, then 80 00.
        {"Sun raster: one bit, run-length encoded, no map", decodeSunRaster,
         sunRasterHeader(10, 2, 1, 2).u8s({0x80, 0x01, 0xFF, 0x80, 0, 0}).result(), QSize(10, 2),
         probes(at(9, 0, Black), at(0, 1, Black), at(1, 1, White))},
        {"Sun raster: four bits through a map of reds, then greens, then blues", decodeSunRaster,
         sunRasterHeader(3, 1, 4, 1, 6).u8s({10, 20, 30, 40, 50, 60, 0x01, 0x10}).result(),
         QSize(3, 1),
         probes(at(0, 0, qRgb(10, 30, 50)), at(1, 0, qRgb(20, 40, 60)),
                at(2, 0, qRgb(20, 40, 60)))},
        {"Sun raster: 24 bits encoded, blue first", decodeSunRaster,
         sunRasterHeader(2, 1, 24, 2).u8s({0x80, 0x02, 0x80, 1, 2, 3, 0}).result(), QSize(2, 1),
         probes(at(0, 0, qRgb(128, 128, 128)), at(1, 0, qRgb(3, 2, 1)))},
        {"Sun raster: 32 bits lead with a byte that is not colour", decodeSunRaster,
         sunRasterHeader(1, 1, 32, 1).u8s({0x00, 0x10, 0x20, 0x30}).result(), QSize(1, 1),
         probes(at(0, 0, qRgb(0x30, 0x20, 0x10)))},
        {"Sun raster: 32 bits in RGB order", decodeSunRaster,
         sunRasterHeader(1, 1, 32, 3).u8s({0xFF, 0x10, 0x20, 0x30}).result(), QSize(1, 1),
         probes(at(0, 0, qRgb(0x10, 0x20, 0x30)))},
        {"icon: the largest image, the AND mask makes pixels transparent", decodeIcon,
         iconFile({{1, iconDib(1, 24).fill(8).result()}, {2, maskedIconImage()}}), QSize(2, 2),
         probes(at(0, 0, Transparent), at(1, 0, Green), at(0, 1, Blue), at(1, 1, Transparent))},
        {"icon: an entry longer than its directory says", decodeIcon,
         iconFile({{2, maskedIconImage()}}).replace(14, 4, QByteArray("\x28\0\0\0", 4)),
         QSize(2, 2), probes(at(0, 0, Transparent), at(1, 0, Green), at(1, 1, Transparent))},
        {"icon: the fourth bytes of 32 bits are alpha, and the mask gives way", decodeIcon,
         iconFile({{1, iconDib(1, 32).u8s({10, 20, 30, 128, 0x80}).fill(3).result()}}), QSize(1, 1),
         probes(at(0, 0, qRgba(30, 20, 10, 128)))},
        {"Photoshop: indexed", decodePhotoshop, indexedPhotoshop(), QSize(2, 1),
         probes(at(0, 0, qRgb(3, 252, 7)), at(1, 0, qRgb(200, 55, 7)))},
        // Each row of each channel a PackBits repeat of 4 bytes.
        {"Photoshop: RGB of 16 bits", decodePhotoshop,
         photoshopHeader(3, 2, 1, 16, 3)
             .fill(12)
             .u16bes({1, 2, 2, 2, 0xFD12, 0xFD34, 0xFD56})
             .result(),
         QSize(2, 1), probes(at(1, 0, qRgb(0x12, 0x34, 0x56)))},
        {"Photoshop: CMYK, stored inverted, 255 no ink", decodePhotoshop,
         photoshopHeader(4, 1, 1, 8, 4).fill(12).u16be(0).u8s({255, 0, 255, 128}).result(),
         QSize(1, 1), probes(at(0, 0, qRgb(128, 0, 128)))},
        // A line stepped over, then a 1-bit bitmap into the right half.
        {"PICT: version 1 bitmap", decodePict,
         pictStart(1, 4, 1)
             .u8(0x20)
             .fill(8)
             .u8(0x90)
             .u16bes(BitmapFields)
             .u8s({0x80, 0, 0xFF})
             .result(),
         QSize(4, 1), probes(at(0, 0, White), at(2, 0, Black), at(3, 0, White))},
        {"PICT: version 2, 16-bit direct pixels", decodePict, pictDirectPixels(), QSize(2, 1),
         probes(at(0, 0, Red), at(1, 0, Blue))},
        // A 20 x 10 frame showing a source rectangle from (-40, -20), at twice its resolution.
        {"PICT: extended version 2", decodePict,
         ByteWriter()
             .u16bes({0, 0, 0, 10, 20, 0x0011, 0x02FF, 0x0C00, -2, 0, 72, 0, 72, 0})
             .u16bes({-20, -40, 0, 0, 0, 0, 0x001A, 0xFFFF, 0, 0})
             .u16bes({0x0031, -20, -40, -10, -20, 0x00FF})
             .result(),
         QSize(20, 10), probes(at(9, 4, Red), at(10, 4, White), at(9, 5, White))},
        {"PICT: lines, shapes, polygons and regions", decodePict, pictShapes(), QSize(100, 60),
         probes(at(32, 10, qRgb(0, 255, 255)), at(40, 10, Black),
                at(32, 14, Red),                     // below the inverted band
                at(20, 15, Red), at(70, 7, Blue),    // the oval's edge, drawn inside it
                at(70, 20, White),                   // framed, not filled
                at(15, 55, Blue),                    // inside the polygon
                at(28, 42, White),                   // outside it
                at(60, 51, Blue),                    // the line, below its position
                at(15, 3, Green), at(5, 15, Green),  // the region's two bands
                at(15, 15, Red))},                   // beside it, the red rectangle shows
        // Bits need no blanks between them.
        {"plain PBM", decodePlainPbm, "P1\n# dense\n5 2\n01010\n10101\n", QSize(5, 2),
         probes(at(0, 0, White), at(1, 0, Black), at(3, 0, Black), at(4, 0, White), at(0, 1, Black),
                at(1, 1, White), at(4, 1, Black))},
        {"TGA: grey and alpha of 16 bits, top row first", decodeTarga,
         targaHeader(3, 2, 1, 16, 0x28).u8s({200, 255, 40, 0}).result(), QSize(2, 1),
         probes(at(0, 0, qRgba(200, 200, 200, 255)), at(1, 0, Transparent))},
        {"TGA: the default origin is the bottom left", decodeTarga,
         targaHeader(2, 1, 2, 24, 0).u8s({255, 0, 0, 0, 0, 255}).result(), QSize(1, 2),
         probes(at(0, 1, Blue), at(0, 0, Red))},
        {"TGA: right to left, 15 bits, 31 is 255", decodeTarga,
         targaHeader(2, 2, 1, 15, 0x30).u16les({0x7C00, 0x001F}).result(), QSize(2, 1),
         probes(at(1, 0, Red), at(0, 0, Blue))},
        {"TGA: colour-mapped runs, three then one raw", decodeTarga,
         targaHeader(9, 4, 1, 8, 0x20, 2, 24).u8s({0, 0, 255, 0, 255, 0, 0x82, 1, 0, 0}).result(),
         QSize(4, 1), probes(at(2, 0, Green), at(3, 0, Red))},
    };
    for (const Decoded& file : files) {
        SCOPED_TRACE(file.name);
        const QImage picture = file.decode(file.bytes);
        ASSERT_EQ(picture.size(), file.size);
        expectProbes(picture, file.probes);
    }
}

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

TEST(OwnDecodersTest, filesThatPromiseMoreThanTheyHoldAreRefused) {
    const QByteArray magickPict = writtenByMagick(colourReference(), "PICT", {"TrueColor", ""});
    ASSERT_FALSE(decodePict(magickPict).isNull());
    const QByteArray flashPix = flashPixFile({gradient(), 3, 3, FlashPixTiles::Raw, true});
    ASSERT_FALSE(decodeFlashPix(flashPix).isNull());
    // The directory's chain made to come back to itself, in the first
    // sector of the allocation table.
    const std::int32_t directory = getInt32(flashPix.constData() + 0x30);
    const std::int32_t table = getInt32(flashPix.constData() + 0x4C);
    QByteArray looped = flashPix;
    looped.replace(512 * (1 + table) + 4 * directory, 4, le32(directory));
    const std::tuple<const char*, Decoder, QByteArray> files[] = {
        {"GEM: a line run without its marker", decodeGemImage,
         gemHeader(1, 8, 1).u8s({0, 0, 0x00, 1, 0x81}).result()},
        {"PC Paint: blocks that unpack to too few bytes", decodePcPaintPicture,
         pcPaintHeader(8, 2, 0x01, 0, {}, 1).u16les({6, 1}).u8s({0x55, 0xFF}).result()},
        {"clipboard: an entry past the file's end", decodeClipboardFile,
         clipboardOfBitmapAndDib().chopped(1)},
        {"Sun raster: cut", decodeSunRaster, sunRasterHeader(4, 4, 8, 1).fill(10).result()},
        {"Sun raster: huge from runs", decodeSunRaster,
         sunRasterHeader(8000, 8000, 8, 2).u8s({0x80, 0xFF, 0x00}).result()},
        {"Sun raster: 16 bits", decodeSunRaster, sunRasterHeader(1, 1, 16, 1).fill(2).result()},
        {"icon: an entry past the file's end", decodeIcon,
         iconFile({{2, maskedIconImage()}}).left(30)},
        {"Photoshop: a row that unpacks short", decodePhotoshop,
         photoshopHeader(1, 4, 1, 8, 1).fill(12).u16bes({1, 2, 0xFE09}).result()},
        {"Photoshop: more rows than the file holds", decodePhotoshop,
         photoshopHeader(3, 100, 100, 8, 3).fill(12).u16be(0).fill(50).result()},
        {"PICT: a short comment, nothing drawn", decodePict,
         pictStart(2, 8, 8).u16bes({0x00A0, 100, 0x00FF}).result()},
        {"PICT: cut in half", decodePict, magickPict.left(magickPict.size() / 2)},
        {"TGA: cut", decodeTarga, targaHeader(2, 4, 4, 24, 0).fill(20).result()},
        {"TGA: huge from runs", decodeTarga,
         targaHeader(10, 4000, 4000, 32, 0).u8(0xFF).fill(4).result()},
        {"TGA: grey of 24 bits", decodeTarga, targaHeader(3, 1, 1, 24, 0).fill(3).result()},
        {"FlashPix: a looped chain", decodeFlashPix, looped},
        {"FlashPix: not a compound file", decodeFlashPix, "X" + flashPix.sliced(1)},
    };
    for (const auto& [name, decode, bytes] : files) {
        EXPECT_TRUE(decode(bytes).isNull()) << name;
    }
}

TEST(OwnDecodersTest, pictPixelMapsOfImageMagickAndQuickTimeJpegDecode) {
    // Direct pixels are among the imaging samples; here, a palette and one bit.
    const QImage colour = colourReference();
    const QImage palette = decodePict(writtenByMagick(colour, "PICT", {"Palette", ""}));
    EXPECT_LE(largestDifference(palette, colour), 1);
    const QImage mono = monochromeReference();
    EXPECT_EQ(largestDifference(decodePict(writtenByMagick(mono, "PICT", {"Bilevel", ""})), mono),
              0);

    // A QuickTime JPEG over the whole frame, then what QuickTime skips once it
    // is drawn: a pen size of height 0xAE leading 10 bytes that paint it black.
    const QByteArray jpeg = writtenByQt(colour, "jpeg", 95);
    ByteWriter quickTime = pictStart(2, colour.width(), colour.height());
    quickTime.u16bes({0x8200, 0, int(jpeg.size() + 68)}).fill(68).bytes(jpeg).align(2);
    quickTime.u16bes({0x0007, 0x00AE, 10, 0x0031, 0, 0, colour.height(), colour.width()});
    EXPECT_LE(largestDifference(decodePict(quickTime.u16be(0x00FF).result()), colour, 8), 24);
}

TEST(FlashPixDecoderTest, rawTilesGiveTheLargestResolutionExactlyEdgesIncluded) {
    const QImage picture = gradient();
    const QImage decoded = decodeFlashPix(flashPixFile({picture, 3, 3, FlashPixTiles::Raw, true}));
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

// Magick++ reads a WPG's embedded PostScript record with whatever reader
// its first bytes name; the check in front of it refuses such files.
TEST(WordPerfectCheckTest, embeddedPostScriptRecordsAreRefused) {
    const QByteArray plain = wordPerfectGraphic(sixteenColourReference());
    ASSERT_TRUE(isCompleteWordPerfect(plain));
    const QByteArray embedded = "push graphic-context\nviewbox 0 0 8 8\npop graphic-context\n";
    ByteWriter record;
    record.u8(0x11).u8(0xFF).u16le(int(8 + embedded.size())).fill(8).bytes(embedded);
    EXPECT_FALSE(isCompleteWordPerfect(plain.first(16) + record.result() + plain.sliced(16)));
    EXPECT_FALSE(isCompleteWordPerfect(plain.chopped(2) + record.result() + plain.last(2)));
}

// Version 2 numbers its records anew: PostScript is 0x12, and 0x1B, the
// rectangle a bitmap goes with, is no reason to refuse the file.
TEST(WordPerfectCheckTest, versionTwoRefusesItsOwnPostScriptRecordOnly) {
    const auto record = [](int type, int length) {
        ByteWriter bytes;
        bytes.u8(1).u8(type).u8(0).u8(length).fill(length);
        return bytes.result();
    };
    ByteWriter header;
    header.bytes("\xFFWPC").u32le(16).u16le(0x1601).u8(2).u8(0).u16le(0).u16le(0);
    const QByteArray bitmap = record(0x1B, 8) + record(0x0E, 12);
    const QByteArray end = record(0x10, 0);
    EXPECT_TRUE(isCompleteWordPerfect(header.result() + bitmap + end));
    EXPECT_FALSE(isCompleteWordPerfect(header.result() + record(0x12, 6) + bitmap + end));
    EXPECT_FALSE(isCompleteWordPerfect(header.result() + record(0x1B, 8) + end));
}

}  // namespace

}  // namespace pictarium::test
