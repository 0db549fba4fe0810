// The bitmap files of imaging/core: the decoder, the codec that stores
// pictures as bitmaps, and the measure of a bitmap among other bytes.

#include "base/byte_order.h"
#include "imaging/core/bitmap_codec.h"
#include "imaging/core/bitmap_extent.h"
#include "imaging/core/bmp_decoder.h"
#include "tests/imaging/bitmap_bytes.h"
#include "tests/imaging/library_samples.h"
#include "tests/imaging/metafile/ink_count.h"
#include "tests/imaging/picture_file_fixture.h"
#include "tests/imaging/sample_catalog.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

namespace pictarium::test {
namespace {

QByteArray os2Header(int bits) {
    return ByteWriter().u32le(12).u16les({2, 2, 1, bits}).result();
}

// 64-bit pixels: blue, green, red, alpha of linear light, 1.0 being 8192.
QByteArray linearPixel(int blue, int green, int red) {
    return ByteWriter().u16les({blue, green, red, 8192}).result();
}

struct Variant {
    std::string name;
    QByteArray file;
    // The top row, then the bottom one.
    std::array<QRgb, 4> pixels = {Red, Green, Blue, White};
};

std::vector<Variant> variants() {
    const QByteArray rows = bitmapRows24(fourColours());
    const QByteArray colours = bitmapPalette({Red, Green, Blue, White});
    std::vector<Variant> all = {
        {"OS/2 1.x", bitmapFile(os2Header(24), {}, rows)},
        {"top-down",
         bitmapFile(bitmapHeader(40, -2, 24), {}, bitmapRows24(fourColours().mirrored()))},
        {"8-bit palette", bitmapFile(bitmapHeader(40, 2, 8, 0, 4), colours,
                                     QByteArray("\x02\x03\0\0\x00\x01\0\0", 8))},
        // Two bits a pixel, as Windows CE writes them.
        {"2 bits",
         bitmapFile(bitmapHeader(40, 2, 2), colours, QByteArray("\xB0\0\0\0\x10\0\0\0", 8))},
        {"RLE8", bitmapFile(bitmapHeader(40, 2, 8, 1, 4), colours,
                            QByteArray("\x01\x02\x01\x03\x00\x00\x01\x00\x01\x01\x00\x01", 12))},
        // Each run alternates its two nibbles.
        {"RLE4", bitmapFile(bitmapHeader(40, 2, 4, 2, 4), colours,
                            QByteArray("\x02\x23\x00\x00\x02\x01\x00\x01", 8))},
        // OS/2's 24-bit runs: a count, then a colour.
        {"RLE24", bitmapFile(bitmapHeader(64, 2, 24, 4), {},
                             "\x01" + bgr(Blue) + "\x01" + bgr(White) + QByteArray("\0\0\x01", 3) +
                                 bgr(Red) + "\x01" + bgr(Green) + QByteArray("\0\x01", 2))},
        // Bit fields of any contiguous masks scale to the full eight bits.
        {"5-6-5 bit fields",
         bitmapFile(bitmapHeader(40, 2, 16, 3), words({0xF800, 0x07E0, 0x001F}),
                    ByteWriter().u16les({0x001F, 0xFFFF, 0xF800, 0x07E0}).result())},
        {"2-3-1 bit fields", bitmapFile(bitmapHeader(40, 2, 16, 3), words({0x30, 0x0E, 0x01}),
                                        ByteWriter().u16les({0x01, 0x3F, 0x30, 0x0E}).result())},
        // The default 5-5-5, with the unused top bit set.
        {"5-5-5", bitmapFile(bitmapHeader(40, 2, 16), {},
                             ByteWriter().u16les({0x801F, 0xFFFF, 0xFC00, 0x83E0}).result())},
        {"8-8-8 bit fields", bitmapFile(bitmapHeader(40, 2, 32, 3), words({0xFF0000, 0xFF00, 0xFF}),
                                        words({0xFF, 0xFFFFFF, 0xFF0000, 0xFF00}))},
        // The fourth byte of a plain 32-bit pixel is not alpha.
        {"32 bits", bitmapFile(bitmapHeader(40, 2, 32), {},
                               words({0x7F0000FF, 0x01FFFFFF, 0x00FF0000, 0xFF00FF00}))},
        // A 56-byte header's alpha mask is its own.
        {"10-10-10-2 with alpha",
         bitmapFile(bitmapHeader(56, 2, 32, 3, 0, words({0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000})),
                    {}, words({0xC00003FF, 0xFFFFFFFF, 0xFFF00000, 0x400FFC00})),
         {Red, qRgba(0, 255, 0, 85), Blue, White}},
        // Linear light comes back in sRGB: half is not 128.
        {"64 bits",
         bitmapFile(bitmapHeader(40, 2, 64), {},
                    linearPixel(8192, 0, 0) + linearPixel(4096, 4096, 4096) +
                        linearPixel(0, 0, 8192) + linearPixel(0, 8192, 0)),
         {Red, Green, Blue, qRgb(188, 188, 188)}},
        // Pixels past the row's end are dropped, and so is the run after them.
        {"RLE8 run past the row",
         bitmapFile(bitmapHeader(40, 2, 8, 1, 4), colours,
                    QByteArray("\x01\x02\x03\x03\x01\x01\0\0\x01\0\x01\x01\0\x01", 14))},
        {"RLE4 literal past the row",
         bitmapFile(bitmapHeader(40, 2, 4, 2, 4), colours,
                    QByteArray("\0\x03\x23\x10\0\0\x02\x01\0\x01", 10))},
        // A delta over the bottom row's second pixel: it keeps index 0.
        {"RLE8 delta",
         bitmapFile(bitmapHeader(40, 2, 8, 1, 4), colours,
                    QByteArray("\x01\x02\x00\x02\x01\x00\x00\x00\x01\x00\x01\x01\x00\x01", 14)),
         {Red, Green, Blue, Red}},
        // Pixels past their palette are black, not whatever lies beyond
        // it: an OS/2 palette of three entries, the pixels right after it,
        {"short OS/2 palette",
         bitmapFile(os2Header(8), bitmapPalette({Blue, White, Red}, 3),
                    QByteArray("\x00\x01\0\0\x02\x03\0\0", 8)),
         {Red, Black, Blue, White}},
        // and a palette of two colours with pixels of 2 and 200.
        {"past the palette",
         bitmapFile(bitmapHeader(40, 2, 8, 0, 2), bitmapPalette({Red, White}),
                    QByteArray("\x00\xC8\0\0\x01\x02\0\0", 8)),
         {White, Black, Red, Black}},
        {"PNG inside",
         bitmapFile(bitmapHeader(124, 2, 0, 5), {}, writtenByQt(fourColours(), "png"))},
    };
    for (const int size : {16, 40, 52, 56, 64, 108, 124}) {
        all.push_back({std::to_string(size) + "-byte header",
                       bitmapFile(bitmapHeader(size, 2, 24), {}, rows)});
    }
    return all;
}

QByteArray variant(const std::string& name) {
    for (const Variant& each : variants()) {
        if (each.name == name) {
            return each.file;
        }
    }
    return {};
}

const std::set<std::string> NotMeasured = {"RLE24", "64 bits", "PNG inside", "16-byte header"};

TEST(BitmapTest, everyVariantDecodesToItsPixels) {
    for (const Variant& variant : variants()) {
        SCOPED_TRACE(variant.name);
        const QImage picture = decodeBitmapFile(variant.file);
        ASSERT_EQ(picture.size(), QSize(2, 2));
        EXPECT_EQ(picture.pixel(0, 0), variant.pixels[0]);
        EXPECT_EQ(picture.pixel(1, 0), variant.pixels[1]);
        EXPECT_EQ(picture.pixel(0, 1), variant.pixels[2]);
        EXPECT_EQ(picture.pixel(1, 1), variant.pixels[3]);
        // Stored pictures come back with other bytes in place of the
        // file's type and size.
        QByteArray rebuilt = variant.file;
        rebuilt.replace(0, 3, "BM.");
        EXPECT_EQ(pictureFromBitmapFile(rebuilt), picture);
        // A reader that looks for stored bitmaps among other bytes must
        // know where each ends, run-length ones included; those never
        // stored are not looked for.
        if (!NotMeasured.contains(variant.name)) {
            EXPECT_EQ(bitmapFileLength(variant.file + QByteArray(40, '\x07')), variant.file.size());
        }
    }
}

TEST(BitmapTest, filesThatCannotHoldTheirPictureAreRefused) {
    const QByteArray colours = bitmapPalette({Red, Green, Blue, White});
    const auto rle8 = [&](const QByteArray& codes) {
        return bitmapFile(bitmapHeader(40, 2, 8, 1, 4), colours, codes);
    };
    QByteArray hugeRaw = bitmapFile(bitmapHeader(40, 2, 24), {}, QByteArray(16, '\0'));
    putInt32(hugeRaw.data() + 18, 30000);  // width: 30000 x 2 pixels, 16 bytes of data
    QByteArray hugeRle = rle8(QByteArray("\0\x01", 2));
    putInt32(hugeRle.data() + 18, 20000);
    putInt32(hugeRle.data() + 22, 20000);  // 400 megapixels from two bytes
    QByteArray twoPlanes = bitmapFile(bitmapHeader(40, 2, 24), {}, bitmapRows24(fourColours()));
    twoPlanes[26] = 2;
    const std::pair<const char*, QByteArray> refused[] = {
        {"a header of unknown size", bitmapFile(bitmapHeader(66, 2, 24), {}, QByteArray(16, '\0'))},
        {"two planes", twoPlanes},
        {"masks that are not contiguous",
         bitmapFile(bitmapHeader(40, 2, 16, 3), words({0x0005, 0x00F0, 0x0F00}),
                    QByteArray(8, '\0'))},
        {"a delta below the picture", rle8(QByteArray("\x00\x02\x00\x05\x00\x01", 6))},
        {"rows past the top", rle8(QByteArray("\x00\x00\x00\x00\x01\x02\x00\x01", 8))},
        {"top-down runs",
         bitmapFile(bitmapHeader(40, -2, 8, 1, 4), colours, QByteArray("\x00\x01", 2))},
        {"more colours than the file holds",
         bitmapFile(bitmapHeader(40, 2, 8, 0, 0x10000000), {}, QByteArray(8, '\0'))},
        {"more pixels than the file holds", hugeRaw},
        {"billions of pixels from two bytes of runs", hugeRle},
        {"a file header alone", QByteArray("BM.")},
        // Cut inside its pixels, even by less than its header and palette.
        {"cut", variant("8-bit palette").chopped(3)},
    };
    for (const auto& [name, file] : refused) {
        EXPECT_TRUE(decodeBitmapFile(file).isNull()) << name;
    }
}

TEST(BitmapTest, aBitmapCutShortHasNoLength) {
    EXPECT_EQ(bitmapFileLength(variant("RLE8").chopped(1)), std::nullopt);
    EXPECT_EQ(bitmapFileLength(QByteArray("BM.")), std::nullopt);
    QByteArray noWidth = variant("top-down");
    putInt32(noWidth.data() + 18, 0);
    EXPECT_EQ(bitmapFileLength(noWidth), std::nullopt);
}

TEST(BitmapTest, aCutBitmapKeepsItsWholeRowsAndTurnsTheLostOnesWhite) {
    const QByteArray bottomUp =
        bitmapFile(bitmapHeader(40, 2, 24), {}, bitmapRows24(fourColours()));
    // Bottom-up, the first row in the file is the bottom one.
    const QImage bottomKept = pictureFromCutBitmapFile(bottomUp.chopped(8));
    ASSERT_EQ(bottomKept.size(), QSize(2, 2));
    EXPECT_EQ(bottomKept.pixel(0, 1), Blue);
    EXPECT_EQ(bottomKept.pixel(1, 1), White);
    EXPECT_EQ(bottomKept.pixel(0, 0), White);
    EXPECT_EQ(bottomKept.pixel(1, 0), White);
    const QImage topKept = pictureFromCutBitmapFile(variant("top-down").chopped(5));
    ASSERT_EQ(topKept.size(), QSize(2, 2));
    EXPECT_EQ(topKept.pixel(0, 0), Red);
    EXPECT_EQ(topKept.pixel(1, 0), Green);
    EXPECT_EQ(topKept.pixel(0, 1), White);
    // Not a whole row left, or no rows at all: nothing to keep.
    EXPECT_TRUE(pictureFromCutBitmapFile(bottomUp.chopped(9)).isNull());
    EXPECT_TRUE(pictureFromCutBitmapFile(variant("RLE8").chopped(2)).isNull());
    EXPECT_EQ(largestDifference(pictureFromCutBitmapFile(bottomUp), fourColours()), 0);
}

// Other programs expect the size field of a bitmap file on disk to be its
// length; the stored bytes may say anything there.
TEST(BitmapTest, aBitmapFileOnDiskSaysItsLengthLittleEndian) {
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray stored = bitmapFileOf(picture);
    stored.replace(2, 4, QByteArray(4, '\xFF'));
    const QByteArray onDisk = withFileSizeField(stored);
    EXPECT_EQ(getUint32(onDisk.constData() + 2), static_cast<std::uint32_t>(onDisk.size()));
    EXPECT_EQ(onDisk.first(2), stored.first(2));
    EXPECT_EQ(onDisk.sliced(6), stored.sliced(6));
}

TEST(BitmapTest, palettePicturesAreStoredWithTheirPalette) {
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({Red, Blue});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    indexed.setPixel(2, 0, 0);
    const QByteArray file = bitmapFileOf(indexed);
    EXPECT_EQ(getInt32(file.constData() + 14), 40);  // BITMAPINFOHEADER
    EXPECT_LE(file[28], 8);                          // bits per pixel
    EXPECT_EQ(bitmapFileOf(fourColours())[28], 24);
    EXPECT_EQ(pictureFromBitmapFile(bitmapFileOf(fourColours())), fourColours());
    EXPECT_EQ(pictureFromBitmapFile(file).pixel(1, 0), Blue);
}

using BitmapFileTest = PictureFileTest;

// A picture with a half-transparent palette, pasted as it is or read from
// a PNG file (which keeps the palette's transparency), is laid on white
// the same way and stored with the same bytes.
TEST_F(BitmapFileTest, aHalfTransparentPaletteIsFlattenedAlikeFromFileAndClipboard) {
    QImage indexed(4, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(200, 10, 51, 128), qRgba(0, 0, 255, 1), qRgba(17, 99, 3, 254),
                           qRgba(255, 255, 255, 0)});
    for (int x = 0; x < 4; ++x) {
        indexed.setPixel(x, 0, static_cast<uint>(x));
    }
    const PictureReading fromFile =
        readAs(QStringLiteral("palette.png"), writtenByQt(indexed, "png"));
    ASSERT_EQ(fromFile.outcome, PictureReading::Outcome::Loaded);
    const QByteArray stored = bitmapFileOf(indexed);
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_EQ(bitmapFileOf(fromFile.picture), stored);
    // 200 on white at alpha 128: (200 * 128 + 255 * 127) / 255, rounded.
    EXPECT_EQ(qRed(pictureFromBitmapFile(stored).pixel(0, 0)), 227);
}

// Runs of every length a fax code has: rows led by each make-up length of
// white, then of black, longer than the longest code, then rows of every
// short run of both colours.
QImage runsOfEveryLength() {
    constexpr int Width = 2700;
    constexpr int MakeUps = 40;
    QImage picture(Width, 2 * MakeUps + 2, QImage::Format_Mono);
    picture.setColorTable({White, Black});
    picture.fill(0);
    const auto paint = [&](int y, int from, int count) {
        for (int x = from; x < from + count && x < Width; ++x) {
            picture.setPixel(x, y, 1);
        }
    };
    for (int i = 0; i < MakeUps; ++i) {
        const int run = 64 * (i + 1) + i;
        paint(i, run, Width);
        paint(MakeUps + i, 0, run);
    }
    for (int y = 2 * MakeUps; y < picture.height(); ++y) {
        bool black = y % 2 == 0;
        for (int x = 0, run = 1; x < Width; x += run, run = run % 63 + 1, black = !black) {
            if (black) {
                paint(y, x, run);
            }
        }
    }
    return picture;
}

// An OS/2 2.x bitmap whose rows, bottom first, libtiff wrote as a group 3
// fax.
QByteArray faxCodedBitmap(const QImage& picture, bool fillBits) {
    ByteWriter header;
    header.u32les({64, picture.width(), picture.height()}).u16les({1, 1}).u32le(3).padTo(64);
    return bitmapFile(header.result(), bitmapPalette({White, Black}),
                      faxCodedByLibtiff(picture.mirrored(), fillBits));
}

TEST(BitmapTest, faxCodedRowsOfOs2AreReadAndBrokenCodesRefused) {
    const QImage expected = runsOfEveryLength();
    for (const bool fillBits : {false, true}) {
        const QImage picture = decodeBitmapFile(faxCodedBitmap(expected, fillBits));
        EXPECT_EQ(largestDifference(picture, expected), 0) << fillBits;
    }
    const QByteArray bitmap = faxCodedBitmap(expected, false);
    // Codes that stop halfway down the picture.
    EXPECT_TRUE(decodeBitmapFile(bitmap.first(bitmap.size() / 2)).isNull());
    // Eight zeros then a one start no code of white and are too few for
    // an end of line.
    constexpr qsizetype PixelsAt = 14 + 64 + 8;
    QByteArray broken = bitmap.first(PixelsAt) + QByteArray("\x00\x80", 2);
    broken += bitmap.sliced(PixelsAt);
    EXPECT_TRUE(decodeBitmapFile(broken).isNull());
}

}  // namespace
}  // namespace pictarium::test
