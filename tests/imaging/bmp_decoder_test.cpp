#include "imaging/core/bmp_decoder.h"
#include "tests/engine/engine_fixture.h"
#include "tests/imaging/bitmap_bytes.h"
#include "tests/imaging/library_samples.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace pictarium::test {
namespace {

// Every picture below is 2 x 2: red, green on top; blue, white below.
const QRgb Red = qRgb(255, 0, 0);
const QRgb Green = qRgb(0, 255, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb White = qRgb(255, 255, 255);

// The bottom row first, each padded to four bytes.
QByteArray rows24() {
    return bgr(Blue) + bgr(White) + QByteArray(2, '\0') + bgr(Red) + bgr(Green) +
           QByteArray(2, '\0');
}

QByteArray file(const QByteArray& header, const QByteArray& between, const QByteArray& pixels) {
    const int offset = 14 + static_cast<int>(header.size() + between.size());
    return QByteArray("BM") + le32(0) + le32(0) + le32(offset) + header + between + pixels;
}

// An info-like header of `size` bytes: width, height, planes, depth,
// compression, then zeros, with `tail` written from byte 40 on.
QByteArray header(int size, int height, int bits, int compression, const QByteArray& tail = {}) {
    QByteArray bytes = le32(size) + le32(2) + le32(height) + le16(1) + le16(bits);
    if (size >= 20) {
        bytes += le32(compression);
    }
    bytes = bytes.leftJustified(std::max(size, 40), '\0');
    bytes.replace(40, tail.size(), tail);
    return bytes.left(size);
}

void expectFourColours(const QImage& picture, const std::string& name) {
    ASSERT_EQ(picture.size(), QSize(2, 2)) << name;
    EXPECT_EQ(picture.pixel(0, 0), Red) << name;
    EXPECT_EQ(picture.pixel(1, 0), Green) << name;
    EXPECT_EQ(picture.pixel(0, 1), Blue) << name;
    EXPECT_EQ(picture.pixel(1, 1), White) << name;
}

// 64-bit pixels: blue, green, red, alpha of linear light, 1.0 being 8192.
QByteArray linearPixel(int blue, int green, int red) {
    return le16(blue) + le16(green) + le16(red) + le16(8192);
}

TEST(BmpDecoder, SixtyFourBitLinearSamplesComeBackInSrgb) {
    // Bottom row first: blue, then half-bright grey in linear light.
    const QByteArray pixels = linearPixel(8192, 0, 0) + linearPixel(4096, 4096, 4096) +
                              linearPixel(0, 0, 8192) + linearPixel(0, 8192, 0);
    const QImage picture = decodeBitmapFile(file(header(40, 2, 64, 0), {}, pixels));
    ASSERT_EQ(picture.size(), QSize(2, 2));
    EXPECT_EQ(picture.pixel(0, 0), Red);
    EXPECT_EQ(picture.pixel(1, 0), Green);
    EXPECT_EQ(picture.pixel(0, 1), Blue);
    EXPECT_EQ(picture.pixel(1, 1), qRgb(188, 188, 188));  // sRGB's curve, not half of 255
}

TEST(BmpDecoder, EveryHeaderVersionGivesTheSamePicture) {
    const QByteArray core = le32(12) + le16(2) + le16(2) + le16(1) + le16(24);
    expectFourColours(decodeBitmapFile(file(core, {}, rows24())), "OS/2 1.x");
    for (const int size : {16, 40, 52, 56, 64, 108, 124}) {
        expectFourColours(decodeBitmapFile(file(header(size, 2, 24, 0), {}, rows24())),
                          std::to_string(size) + "-byte header");
    }
    // Top-down rows; an unknown header size and planes other than 1 are broken.
    const QByteArray topDown =
        bgr(Red) + bgr(Green) + QByteArray(2, '\0') + bgr(Blue) + bgr(White) + QByteArray(2, '\0');
    expectFourColours(decodeBitmapFile(file(header(40, -2, 24, 0), {}, topDown)), "top-down");
    EXPECT_TRUE(decodeBitmapFile(file(header(66, 2, 24, 0), {}, rows24())).isNull());
    QByteArray twoPlanes = file(header(40, 2, 24, 0), {}, rows24());
    twoPlanes[26] = 2;
    EXPECT_TRUE(decodeBitmapFile(twoPlanes).isNull());
}

TEST(BmpDecoder, BitFieldsOfAnyContiguousMasksScaleToFullEightBits) {
    // 2-3-1 bits in 16: the largest value of each field is 255, not shifted.
    const QByteArray masks231 = le32(0x30) + le32(0x0E) + le32(0x01);
    const QByteArray pixels231 = le16(0x01) + le16(0x3F) + le16(0x30) + le16(0x0E);
    expectFourColours(decodeBitmapFile(file(header(40, 2, 16, 3), masks231, pixels231)), "2-3-1");
    // The default 5-5-5, with the unused top bit set: 31 is 255.
    const QByteArray pixels555 = le16(0x801F) + le16(0xFFFF) + le16(0xFC00) + le16(0x83E0);
    expectFourColours(decodeBitmapFile(file(header(40, 2, 16, 0), {}, pixels555)), "5-5-5");
    // 10-10-10-2 in a 56-byte header, whose alpha mask is its own.
    const QByteArray masks1010102 =
        le32(0x3FF00000) + le32(0x000FFC00) + le32(0x000003FF) + le32(0xC0000000);
    const QByteArray pixels1010102 =
        le32(0xC00003FF) + le32(0xFFFFFFFF) + le32(0xFFF00000) + le32(0x400FFC00);
    const QImage withAlpha =
        decodeBitmapFile(file(header(56, 2, 32, 3, masks1010102), {}, pixels1010102));
    ASSERT_EQ(withAlpha.format(), QImage::Format_ARGB32);
    EXPECT_EQ(withAlpha.pixel(1, 0), qRgba(0, 255, 0, 85));
    EXPECT_EQ(withAlpha.pixel(0, 1), qRgba(0, 0, 255, 255));
    // The fourth byte of a plain 32-bit pixel is not alpha.
    const QByteArray pixels32 =
        le32(0x7F0000FF) + le32(0x01FFFFFF) + le32(0x00FF0000) + le32(0xFF00FF00);
    const QImage plain = decodeBitmapFile(file(header(40, 2, 32, 0), {}, pixels32));
    EXPECT_EQ(plain.format(), QImage::Format_RGB32);
    expectFourColours(plain, "32 bits");
    // Bits that are not contiguous make no channel.
    const QByteArray split = le32(0x0005) + le32(0x00F0) + le32(0x0F00);
    EXPECT_TRUE(decodeBitmapFile(file(header(40, 2, 16, 3), split, pixels231)).isNull());
}

QByteArray palette(std::initializer_list<QRgb> colours, int entryBytes = 4) {
    QByteArray table;
    for (const QRgb colour : colours) {
        table += bgr(colour) + QByteArray(entryBytes - 3, '\0');
    }
    return table;
}

TEST(BmpDecoder, RunsThatLeaveThePictureAreRefusedAndSkippedPixelsTakeIndexZero) {
    const QByteArray colours = palette({Red, Green, Blue, White});
    QByteArray rle8Header = header(40, 2, 8, 1);
    rle8Header.replace(32, 4, le32(4));
    const auto rle8 = [&](const QByteArray& codes) {
        return decodeBitmapFile(file(rle8Header, colours, codes));
    };
    expectFourColours(rle8(QByteArray("\x01\x02\x01\x03\x00\x00\x01\x00\x01\x01\x00\x01", 12)),
                      "RLE8");
    // A delta over the bottom row's second pixel: it keeps index 0.
    const QImage skipped =
        rle8(QByteArray("\x01\x02\x00\x02\x01\x00\x00\x00\x01\x00\x01\x01\x00\x01", 14));
    ASSERT_EQ(skipped.size(), QSize(2, 2));
    EXPECT_EQ(skipped.pixel(0, 1), Blue);
    EXPECT_EQ(skipped.pixel(1, 1), Red);
    EXPECT_EQ(skipped.pixel(0, 0), Red);
    EXPECT_EQ(skipped.pixel(1, 0), Green);
    // A run longer than its row, a delta below the picture, rows past the top.
    EXPECT_TRUE(rle8(QByteArray("\x03\x02\x00\x01", 4)).isNull());
    EXPECT_TRUE(rle8(QByteArray("\x00\x02\x00\x05\x00\x01", 6)).isNull());
    EXPECT_TRUE(rle8(QByteArray("\x00\x00\x00\x00\x01\x02\x00\x01", 8)).isNull());
    // Run-length rows cannot be top-down.
    QByteArray topDown = rle8Header;
    topDown.replace(8, 4, le32(-2));
    EXPECT_TRUE(decodeBitmapFile(file(topDown, colours, QByteArray("\x00\x01", 2))).isNull());

    // RLE4: each run alternates its two nibbles.
    QByteArray rle4Header = header(40, 2, 4, 2);
    rle4Header.replace(32, 4, le32(4));
    expectFourColours(decodeBitmapFile(file(rle4Header, colours,
                                            QByteArray("\x02\x23\x00\x00\x02\x01\x00\x01", 8))),
                      "RLE4");
    // OS/2's 24-bit runs: count, then a colour.
    const QByteArray rle24 = QByteArray("\x01", 1) + bgr(Blue) + QByteArray("\x01", 1) +
                             bgr(White) + QByteArray("\x00\x00", 2) + QByteArray("\x01", 1) +
                             bgr(Red) + QByteArray("\x01", 1) + bgr(Green) +
                             QByteArray("\x00\x01", 2);
    expectFourColours(decodeBitmapFile(file(header(64, 2, 24, 4), {}, rle24)), "RLE24");
}

TEST(BmpDecoder, ShortPalettesAndEmbeddedStreamsAreRead) {
    // An OS/2 1.x palette of three entries: the pixels start after them.
    const QByteArray core = le32(12) + le16(2) + le16(2) + le16(1) + le16(8);
    const QImage shortTable = decodeBitmapFile(
        file(core, palette({Blue, White, Red}, 3), QByteArray("\x00\x01\0\0\x02\x03\0\0", 8)));
    ASSERT_EQ(shortTable.size(), QSize(2, 2));
    EXPECT_EQ(shortTable.pixel(0, 0), Red);
    EXPECT_EQ(shortTable.pixel(1, 0), qRgb(0, 0, 0));  // no fourth entry
    EXPECT_EQ(shortTable.pixel(1, 1), White);
    // Two bits a pixel, as Windows CE writes them.
    const QImage twoBits =
        decodeBitmapFile(file(header(40, 2, 2, 0), palette({Red, Green, Blue, White}),
                              QByteArray("\xB0\0\0\0\x10\0\0\0", 8)));
    expectFourColours(twoBits, "2 bits");
    // A PNG stream in place of the pixels.
    QImage source(2, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, Red);
    source.setPixel(1, 0, Green);
    source.setPixel(0, 1, Blue);
    source.setPixel(1, 1, White);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && source.save(&buffer, "PNG"));
    expectFourColours(decodeBitmapFile(file(header(124, 2, 0, 5), {}, png)), "PNG");
    // A palette said to hold more colours than the file could.
    QByteArray huge = header(40, 2, 8, 0);
    huge.replace(32, 4, le32(0x10000000));
    EXPECT_TRUE(decodeBitmapFile(file(huge, {}, QByteArray(8, '\0'))).isNull());
}

// Runs of every length a fax code has: rows led by each make-up length of
// white, then of black, longer than the longest code, then rows of every
// short run of both colours.
QImage runsOfEveryLength() {
    constexpr int Width = 2700;
    constexpr int MakeUps = 40;
    QImage picture(Width, 2 * MakeUps + 2, QImage::Format_Mono);
    picture.setColorTable({White, qRgb(0, 0, 0)});
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
    const QByteArray codes = faxCodedByLibtiff(picture.mirrored(), fillBits);
    const QByteArray header =
        (le32(64) + le32(picture.width()) + le32(picture.height()) + le16(1) + le16(1) + le32(3))
            .leftJustified(64, '\0');
    return file(header, palette({White, qRgb(0, 0, 0)}), codes);
}

TEST(BmpDecoder, FaxCodedRowsOfOs2AreReadAndBrokenCodesRefused) {
    const QImage expected = runsOfEveryLength();
    for (const bool fillBits : {false, true}) {
        const QImage picture = decodeBitmapFile(faxCodedBitmap(expected, fillBits));
        ASSERT_EQ(picture.size(), expected.size()) << fillBits;
        int wrong = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                wrong += picture.pixel(x, y) != expected.pixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << fillBits;
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
