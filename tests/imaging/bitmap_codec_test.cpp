#include "imaging/core/bitmap_codec.h"
#include "imaging/core/bitmap_extent.h"
#include "imaging/picture_reader.h"
#include "tests/engine/engine_fixture.h"
#include "tests/imaging/bitmap_bytes.h"

#include <QTemporaryDir>

namespace pictarium::test {
namespace {

// Every variant below draws the same 2 x 2 picture: red, green on top,
// blue, white below.
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);

QByteArray palette4() {
    QByteArray table;
    for (QRgb colour : {kRed, kGreen, kBlue, kWhite}) {
        table += bgr(colour) + QByteArray(1, '\0');
    }
    return table;
}

// File header with a size field that is deliberately wrong: readers must not use it.
QByteArray withFileHeader(const QByteArray& dibHeader, const QByteArray& extra,
                          const QByteArray& pixels) {
    const int offset = 14 + static_cast<int>(dibHeader.size() + extra.size());
    return QByteArray("BM") + le32(0x0BADF00D) + le32(0) + le32(offset) + dibHeader + extra +
           pixels;
}

QByteArray infoHeader(int height, int bits, int compression, int colours) {
    return le32(40) + le32(2) + le32(height) + le16(1) + le16(bits) + le32(compression) + le32(0) +
           le32(2835) + le32(2835) + le32(colours) + le32(0);
}

bool near(QRgb actual, QRgb expected) {
    return std::abs(qRed(actual) - qRed(expected)) <= 8 &&
           std::abs(qGreen(actual) - qGreen(expected)) <= 8 &&
           std::abs(qBlue(actual) - qBlue(expected)) <= 8;
}

struct Variant {
    const char* name;
    QByteArray file;
};

std::vector<Variant> variants() {
    const QByteArray rows24 = bgr(kBlue) + bgr(kWhite) + QByteArray(2, '\0') + bgr(kRed) +
                              bgr(kGreen) + QByteArray(2, '\0');
    const QByteArray topDown24 = bgr(kRed) + bgr(kGreen) + QByteArray(2, '\0') + bgr(kBlue) +
                                 bgr(kWhite) + QByteArray(2, '\0');
    const QByteArray masks565 = le32(0xF800) + le32(0x07E0) + le32(0x001F);
    const QByteArray masks888 = le32(0x00FF0000) + le32(0x0000FF00) + le32(0x000000FF);
    const QByteArray core = le32(12) + le16(2) + le16(2) + le16(1) + le16(24);
    return {
        {"24 bits", withFileHeader(infoHeader(2, 24, 0, 0), {}, rows24)},
        {"top-down", withFileHeader(infoHeader(-2, 24, 0, 0), {}, topDown24)},
        {"OS/2 core header", withFileHeader(core, {}, rows24)},
        {"8-bit palette", withFileHeader(infoHeader(2, 8, 0, 4), palette4(),
                                         QByteArray("\x02\x03\0\0\x00\x01\0\0", 8))},
        {"RLE8",
         withFileHeader(infoHeader(2, 8, 1, 4), palette4(),
                        QByteArray("\x01\x02\x01\x03\x00\x00\x01\x00\x01\x01\x00\x01", 12))},
        {"RLE4", withFileHeader(infoHeader(2, 4, 2, 4), palette4(),
                                QByteArray("\x02\x23\x00\x00\x02\x01\x00\x01", 8))},
        {"16-bit bit fields",
         withFileHeader(infoHeader(2, 16, 3, 0), masks565,
                        le16(0x001F) + le16(0xFFFF) + le16(0xF800) + le16(0x07E0))},
        {"32-bit bit fields",
         withFileHeader(infoHeader(2, 32, 3, 0), masks888,
                        le32(0xFF) + le32(0xFFFFFF) + le32(0xFF0000) + le32(0xFF00))},
    };
}

TEST(BitmapVariants, EveryCommonVariantDecodesFromTheRebuiltBytes) {
    for (const Variant& variant : variants()) {
        QByteArray rebuilt = variant.file;
        rebuilt.replace(0, 3, "BM.");
        const QImage image = pictureFromBitmapFile(rebuilt);
        ASSERT_EQ(image.size(), QSize(2, 2)) << variant.name;
        // Five-bit channels may come back as 248 rather than 255.
        EXPECT_TRUE(near(image.pixel(0, 0), kRed)) << variant.name;
        EXPECT_TRUE(near(image.pixel(1, 0), kGreen)) << variant.name;
        EXPECT_TRUE(near(image.pixel(0, 1), kBlue)) << variant.name;
        EXPECT_TRUE(near(image.pixel(1, 1), kWhite)) << variant.name;
    }
}

TEST(BitmapVariants, HeadersThatPromiseMoreThanTheDataAreRefused) {
    QByteArray hugeRaw = withFileHeader(infoHeader(2, 24, 0, 0), {}, QByteArray(16, '\0'));
    putInt32(hugeRaw.data() + 18, 30000);  // width: 30000 x 2 pixels, 16 bytes of data
    EXPECT_TRUE(pictureFromBitmapFile(hugeRaw).isNull());
    QByteArray hugeRle =
        withFileHeader(infoHeader(2, 8, 1, 4), palette4(), QByteArray("\0\x01", 2));
    putInt32(hugeRle.data() + 18, 20000);
    putInt32(hugeRle.data() + 22, 20000);  // 400 megapixels from two bytes
    EXPECT_TRUE(pictureFromBitmapFile(hugeRle).isNull());
    EXPECT_TRUE(pictureFromBitmapFile(QByteArray("BM.")).isNull());
    // Cut inside its pixels, even by less than its header and palette.
    const QByteArray whole = variants()[3].file;  // 8-bit palette
    ASSERT_FALSE(pictureFromBitmapFile(whole).isNull());
    EXPECT_TRUE(pictureFromBitmapFile(whole.chopped(3)).isNull());
}

// A reader that looks for bitmaps among other bytes must know where each
// ends, run-length ones included, and must not guess one that is cut.
TEST(BitmapVariants, EveryVariantTellsItsLengthAmongOtherBytes) {
    for (const Variant& variant : variants()) {
        const QByteArray followed = variant.file + QByteArray(40, '\x07');
        EXPECT_EQ(bitmapFileLength(followed), variant.file.size()) << variant.name;
    }
    const QByteArray rle8 = variants()[4].file;
    EXPECT_EQ(bitmapFileLength(rle8.chopped(1)), std::nullopt);
    EXPECT_EQ(bitmapFileLength(QByteArray("BM.")), std::nullopt);
    QByteArray noWidth = variants()[0].file;
    putInt32(noWidth.data() + 18, 0);
    EXPECT_EQ(bitmapFileLength(noWidth), std::nullopt);
}

TEST(BitmapVariants, ACutBitmapKeepsItsWholeRowsAndTurnsTheLostOnesWhite) {
    // Bottom-up, the first row in the file is the bottom one.
    const QImage bottomUp = pictureFromCutBitmapFile(variants()[0].file.chopped(8));
    ASSERT_EQ(bottomUp.size(), QSize(2, 2));
    EXPECT_EQ(bottomUp.pixel(0, 1), kBlue);
    EXPECT_EQ(bottomUp.pixel(1, 1), kWhite);
    EXPECT_EQ(bottomUp.pixel(0, 0), kWhite);
    EXPECT_EQ(bottomUp.pixel(1, 0), kWhite);
    const QImage topDown = pictureFromCutBitmapFile(variants()[1].file.chopped(5));
    ASSERT_EQ(topDown.size(), QSize(2, 2));
    EXPECT_EQ(topDown.pixel(0, 0), kRed);
    EXPECT_EQ(topDown.pixel(1, 0), kGreen);
    EXPECT_EQ(topDown.pixel(0, 1), kWhite);
    // Not a whole row left, or no rows at all: nothing to keep.
    EXPECT_TRUE(pictureFromCutBitmapFile(variants()[0].file.chopped(9)).isNull());
    EXPECT_TRUE(pictureFromCutBitmapFile(variants()[4].file.chopped(2)).isNull());
    const QImage whole = pictureFromCutBitmapFile(variants()[0].file);
    EXPECT_EQ(whole.pixel(0, 0), kRed);
}

// A foreign bitmap whose pixels name colours its short palette lacks:
// those pixels are black, not whatever lies beyond the table.
TEST(BitmapVariants, PixelsPastTheirPaletteAreBlack) {
    const QByteArray twoColours =
        bgr(kRed) + QByteArray(1, '\0') + bgr(kWhite) + QByteArray(1, '\0');
    const QByteArray file = withFileHeader(infoHeader(2, 8, 0, 2), twoColours,
                                           QByteArray("\x00\xC8\0\0\x01\x02\0\0", 8));
    const QImage picture = pictureFromBitmapFile(file);
    ASSERT_EQ(picture.size(), QSize(2, 2));
    EXPECT_EQ(picture.pixel(0, 1), kRed);
    EXPECT_EQ(picture.pixel(1, 1), qRgb(0, 0, 0));  // index 200
    EXPECT_EQ(picture.pixel(0, 0), kWhite);
    EXPECT_EQ(picture.pixel(1, 0), qRgb(0, 0, 0));  // index 2
}

TEST(BitmapVariants, PalettePicturesAreStoredWithTheirPalette) {
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({kRed, kBlue});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    indexed.setPixel(2, 0, 0);
    const QByteArray file = bitmapFileOf(indexed);
    EXPECT_EQ(getInt32(file.constData() + 14), 40);  // BITMAPINFOHEADER
    EXPECT_LE(file[28], 8);                          // bits per pixel
    EXPECT_EQ(bitmapFileOf(EngineTest::picture(1))[28], 24);
    const QImage back = pictureFromBitmapFile(file);
    EXPECT_EQ(back.pixel(1, 0), kBlue);
}

// A picture with a half-transparent palette, pasted as it is or read from
// a PNG file (which keeps the palette's transparency), is laid on white
// the same way and stored with the same bytes.
TEST(BitmapVariants, HalfTransparentPaletteIsFlattenedAlikeFromFileAndClipboard) {
    QImage indexed(4, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(200, 10, 51, 128), qRgba(0, 0, 255, 1), qRgba(17, 99, 3, 254),
                           qRgba(255, 255, 255, 0)});
    for (int x = 0; x < 4; ++x) {
        indexed.setPixel(x, 0, static_cast<uint>(x));
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("palette.png"));
    ASSERT_TRUE(indexed.save(path, "PNG"));
    const PictureReading fromFile = readPictureFile(path);
    ASSERT_EQ(fromFile.outcome, PictureReading::Outcome::Loaded);
    const QByteArray stored = bitmapFileOf(indexed);
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_EQ(bitmapFileOf(fromFile.picture), stored);
    // 200 on white at alpha 128: (200 * 128 + 255 * 127) / 255, rounded.
    EXPECT_EQ(qRed(pictureFromBitmapFile(stored).pixel(0, 0)), 227);
}

using BitmapRecords = EngineTest;

TEST_F(BitmapRecords, AForeignBaseWithRleAndBitFieldPicturesBrowses) {
    QByteArray index;
    QByteArray data;
    const std::vector<Variant> all = variants();
    for (const Variant& variant : all) {
        QByteArray text = QByteArray(variant.name);
        FlipBytes(text);
        const QByteArray stored = variant.file.mid(3);
        const auto at = static_cast<std::int32_t>(8 + data.size());
        const auto textLength = static_cast<std::int32_t>(text.size());
        index += le32(at + textLength) + le32(static_cast<std::int32_t>(stored.size())) + le32(at) +
                 le32(textLength);
        data += text + stored;
    }
    const QString path = basePath();
    writeAll(path, QByteArray("\x24\x14\x71\x06", 4) + le32(static_cast<std::int32_t>(all.size())) +
                       index + data);
    ASSERT_TRUE(mBase.OpenBDP(path));
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (i > 0) {
            ASSERT_TRUE(mBase.MoveNext());
        }
        EXPECT_EQ(mHost.lastText.toStdString(), all[i].name);
        EXPECT_TRUE(near(mHost.lastPicture.pixel(1, 1), kWhite));
    }
    EXPECT_TRUE(mHost.messages.empty());
}

}  // namespace
}  // namespace pictarium::test
