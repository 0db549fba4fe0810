#include "imaging/metafile/emf_reader.h"
#include "tests/imaging/byte_writer.h"
#include "tests/imaging/metafile/emf_writer.h"
#include "tests/imaging/metafile/emfplus_records.h"
#include "tests/imaging/metafile/ink_count.h"
#include "tests/imaging/metafile/wmf_writer.h"

#include <gtest/gtest.h>

namespace pictarium::test {

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Green = 0xFF00FF00;
constexpr QRgb Blue = 0xFF0000FF;

// Gradients and antialiased edges are lighter than the plain shapes.
constexpr int InkGrey = 160;

TEST(EmfPlusRenderingTest, rectanglesPathsAndLinesOfObjectsAreDrawn) {
    EmfWriter emf(100, 80);
    PlusRecords plus;
    plus.add(0x400A, ColourFlag, fillRect(0, 0, 20, 20));
    plus.add(0x4008, BrushObject | 0, solidBrush(Blue));
    plus.add(0x4008, PathObject | 1, triangle());
    plus.add(0x4014, 1, words({0}));  // fill path 1 with brush 0
    plus.add(0x4008, PenObject | 2, words({0xDBC01002, 0, 0, 0}) + floats({4}) + solidBrush(Green));
    plus.add(0x400D, 2, words({2}) + floats({5, 75, 95, 75}));  // draw lines with pen 2
    plus.add(0x4002, 0, {});
    plus.flushInto(emf);
    const QImage picture = decodeEnhancedMetafile(emf.finish());
    ASSERT_EQ(picture.size(), QSize(100, 80));
    EXPECT_EQ(picture.pixel(10, 10), Red);
    EXPECT_EQ(picture.pixel(60, 50), Blue);
    EXPECT_EQ(picture.pixel(30, 20), White);
    EXPECT_EQ(picture.pixel(50, 75), Green);
}

// A picture of 100 x 100 filled whole with the brush object's data.
QImage filledWith(const QByteArray& brush) {
    EmfWriter emf(100, 100);
    PlusRecords plus;
    plus.add(0x4008, BrushObject | 0, brush);
    plus.add(0x400A, 0, words({0, 1}) + floats({0, 0, 100, 100}));
    plus.add(0x4002, 0, {});
    plus.flushInto(emf);
    return decodeEnhancedMetafile(emf.finish());
}

// A path gradient shades from its centre colour to its surrounding one.
TEST(EmfPlusRenderingTest, pathGradientsShadeFromTheCentreOut) {
    ByteWriter gradient;
    gradient.bytes(words({0xDBC01002, 3, 0, 0, Red})).bytes(floats({50, 50}));
    gradient.bytes(words({1, Blue, 4})).bytes(floats({0, 0, 100, 0, 100, 100, 0, 100}));
    const QImage picture = filledWith(gradient.result());
    ASSERT_FALSE(picture.isNull());
    EXPECT_GT(qRed(picture.pixel(50, 50)), 240);
    EXPECT_LT(qBlue(picture.pixel(50, 50)), 15);
    EXPECT_GT(qBlue(picture.pixel(3, 3)), 200);
    EXPECT_LT(qRed(picture.pixel(3, 3)), 55);
}

TEST(EmfPlusRenderingTest, pathGradientsBlendEachCornersColourAndPaintInsideAlone) {
    ByteWriter gradient;  // a white centre; red, green, blue, and blue again for the 4th
    gradient.bytes(words({0xDBC01002, 3, 0, 0, White})).bytes(floats({50, 50}));
    gradient.bytes(words({3, Red, Green, Blue, 4}));
    gradient.bytes(floats({10, 10, 90, 10, 90, 90, 10, 90}));
    const QImage picture = filledWith(gradient.result());
    ASSERT_FALSE(picture.isNull());
    const auto near = [&picture](int x, int y, QRgb colour) {
        const QRgb pixel = picture.pixel(x, y);
        return std::abs(qRed(pixel) - qRed(colour)) < 40 &&
               std::abs(qGreen(pixel) - qGreen(colour)) < 40 &&
               std::abs(qBlue(pixel) - qBlue(colour)) < 40;
    };
    EXPECT_TRUE(near(13, 13, Red));
    EXPECT_TRUE(near(86, 13, Green));
    EXPECT_TRUE(near(86, 86, Blue));
    EXPECT_TRUE(near(13, 86, Blue));
    EXPECT_TRUE(near(50, 50, White));
    EXPECT_TRUE(near(50, 12, qRgb(128, 128, 0)));  // halfway between red and green
    EXPECT_EQ(picture.pixel(5, 50), White);        // outside the boundary: the page
    EXPECT_EQ(picture.pixel(95, 95), White);
}

TEST(EmfPlusRenderingTest, worldAndPageTransformsAndClipsApply) {
    EmfWriter emf(100, 80);
    PlusRecords plus;
    plus.add(0x402D, 0, floats({50, 40}));                 // translate the world
    plus.add(0x400A, ColourFlag, fillRect(0, 0, 10, 10));  // at 50, 40
    plus.add(0x402B, 0, {});                               // reset the world
    plus.add(0x4030, 4, floats({0.125f}));                 // pages in eighths of an inch
    plus.add(0x4032, 0, floats({0, 0, 1, 1}));             // clip to 12 x 12 pixels
    plus.add(0x400A, ColourFlag, fillRect(0, 0, 8, 8));    // the whole picture, clipped
    plus.add(0x4002, 0, {});
    plus.flushInto(emf);
    const QImage picture = decodeEnhancedMetafile(emf.finish());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixel(55, 45), Red);
    EXPECT_EQ(picture.pixel(45, 35), White);
    EXPECT_EQ(picture.pixel(5, 5), Red);
    EXPECT_EQ(picture.pixel(20, 20), White);  // outside the clip
}

// A dual file holds a whole plain copy of its drawing too: it is drawn by
// its EMF+ records, unless one of them is not drawn here; a file of EMF+
// records draws plain records only where GetDC hands over.
QByteArray dualFile(int lastType = 0, const QByteArray& lastData = {}) {
    EmfWriter dual(100, 80);
    PlusRecords plus;
    plus.add(0x400A, ColourFlag, fillRect(0, 0, 100, 80));
    if (lastType != 0) {
        plus.add(lastType, ColourFlag, lastData);
    }
    plus.flushInto(dual);
    dual.createBrush(1, 0, Blue).selectObject(1).rectangle(QRect(QPoint(10, 10), QPoint(30, 30)));
    return dual.finish();
}

TEST(EmfPlusRenderingTest, dualFilesDrawTheirPlusRecordsAndGetDcHandsOver) {
    const QImage drawnByPlus = decodeEnhancedMetafile(dualFile());
    ASSERT_FALSE(drawnByPlus.isNull());
    EXPECT_EQ(drawnByPlus.pixel(20, 20), Red);
    EXPECT_EQ(drawnByPlus.pixel(60, 60), Red);
    // Glyph numbers of a font the machine may lack, then a record of a
    // later GDI+: the plain copy is drawn.
    ByteWriter glyphNumbers;  // colour, no character lookup, no matrix, one glyph
    glyphNumbers.bytes(words({Blue, 0, 0, 1})).u16le(42).bytes(floats({20, 20}));
    const std::pair<int, QByteArray> records[] = {{0x4036, glyphNumbers.result()},
                                                  {0x4039, words({0})}};
    for (const auto& [type, data] : records) {
        const QImage plainCopy = decodeEnhancedMetafile(dualFile(type, data));
        ASSERT_FALSE(plainCopy.isNull());
        EXPECT_EQ(plainCopy.pixel(20, 20), Blue);
        EXPECT_EQ(plainCopy.pixel(60, 60), White);
    }

    EmfWriter handed(100, 80);
    PlusRecords first;
    first.add(0x400A, ColourFlag, fillRect(0, 0, 50, 80));
    first.add(0x4004, 0, {});  // GetDC
    first.flushInto(handed);
    handed.createBrush(1, 0, Blue).selectObject(1).rectangle(QRect(QPoint(60, 10), QPoint(90, 30)));
    PlusRecords last;
    last.add(0x4002, 0, {});
    last.flushInto(handed);
    const QImage both = decodeEnhancedMetafile(handed.finish());
    ASSERT_FALSE(both.isNull());
    EXPECT_EQ(both.pixel(20, 60), Red);
    EXPECT_EQ(both.pixel(75, 20), Blue);
}

TEST(EmfPlusRenderingTest, stringsAndObjectsInPiecesAreDrawn) {
    EmfWriter emf(300, 60);
    PlusRecords plus;
    const QString family = QStringLiteral("DejaVu Sans");
    ByteWriter font;
    font.bytes(words({0xDBC01002})).bytes(floats({30})).bytes(words({2, 0, 0}));
    font.u32le(static_cast<std::uint32_t>(family.size()));
    for (const QChar character : family) {
        font.u16le(character.unicode());
    }
    plus.add(0x4008, FontObject | 0, font.result());
    ByteWriter text;
    text.bytes(words({0xFF000000, 0xFFFFFFFF, 4})).bytes(floats({10, 10, 180, 40}));
    for (const char character : QByteArray("MMMM")) {
        text.u16le(character);
    }
    plus.add(0x401C, ColourFlag | 0, text.result());  // draw string in font 0, black
    // A path object in two records, as large objects come.
    const QByteArray path = triangle();
    const QByteArray total = words({static_cast<std::uint32_t>(path.size())});
    plus.add(0x4008, 0x8000 | PathObject | 1, total + path.first(10));
    plus.add(0x4008, PathObject | 1, path.sliced(10));
    plus.add(0x4014, ColourFlag | 1, words({Blue}));
    // GDI+ keeps the flag on the last record too.
    plus.add(0x4008, 0x8000 | PathObject | 2, total + path.first(10));
    plus.add(0x4008, 0x8000 | PathObject | 2, total + path.sliced(10));
    plus.add(0x402D, 0, floats({200, 0}));
    plus.add(0x4014, ColourFlag | 2, words({Red}));
    plus.add(0x4002, 0, {});
    plus.flushInto(emf);
    const QImage picture = decodeEnhancedMetafile(emf.finish());
    ASSERT_FALSE(picture.isNull());
    EXPECT_GT(inkIn(picture, QRect(10, 10, 120, 40), InkGrey), 100);
    EXPECT_EQ(inkIn(picture, QRect(150, 0, 50, 60), InkGrey), 0);  // the text stops in its box
    EXPECT_EQ(picture.pixel(60, 50), Blue);
    EXPECT_EQ(picture.pixel(260, 50), Red);
}

// An image object whose data is a metafile of `kind` (2 placeable WMF, 3 EMF).
QByteArray metafileImage(std::uint32_t kind, const QByteArray& metafile) {
    return words({0xDBC01002, 2, kind, static_cast<std::uint32_t>(metafile.size())}) + metafile;
}

// DrawImage data: any source rectangle, into the given destination.
QByteArray drawImage(float x, float y, float width, float height) {
    return words({0, 2}) + floats({0, 0, 1, 1}) + floats({x, y, width, height});
}

TEST(EmfPlusRenderingTest, metafileImagesAreDrawnOverWhatLiesUnderThem) {
    EmfWriter inner(40, 40);
    inner.createBrush(1, 0, Red).selectObject(1).selectObject(NullPen);
    inner.rectangle(QRect(QPoint(0, 0), QPoint(20, 40)));
    // A bitmap anded with the page: its black shows, its white lets the page through.
    QImage blackAndWhite(2, 1, QImage::Format_RGB32);
    blackAndWhite.setPixel(0, 0, qRgb(0, 0, 0));
    blackAndWhite.setPixel(1, 0, qRgb(255, 255, 255));
    WmfWriter innerWmf(QRect(0, 0, 40, 40), 96);
    innerWmf.stretchDib(blackAndWhite, QRect(0, 0, 40, 20), 0x008800C6);

    // GDI+ pads the placeable header to 24 bytes and leaves it out of the size.
    QByteArray padded = innerWmf.finish();
    padded.insert(22, QByteArray(2, '\0'));
    const QByteArray gdiPlusWmf =
        words({0xDBC01002, 2, 2, static_cast<std::uint32_t>(padded.size() - 24)}) + padded;

    EmfWriter emf(150, 50);
    PlusRecords plus;
    plus.add(0x400A, ColourFlag, words({Blue, 1}) + floats({0, 0, 150, 50}));
    plus.add(0x4008, ImageObject | 0, metafileImage(3, inner.finish()));
    plus.add(0x4008, ImageObject | 1, metafileImage(2, innerWmf.finish()));
    plus.add(0x4008, ImageObject | 2, gdiPlusWmf);
    plus.add(0x401A, 0, drawImage(0, 0, 50, 50));
    plus.add(0x401A, 1, drawImage(50, 0, 50, 50));
    plus.add(0x401A, 2, drawImage(100, 0, 50, 50));
    plus.add(0x4002, 0, {});
    plus.flushInto(emf);
    const QImage picture = decodeEnhancedMetafile(emf.finish());
    ASSERT_EQ(picture.size(), QSize(150, 50));
    EXPECT_EQ(picture.pixel(110, 10), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(140, 10), Blue);
    EXPECT_EQ(picture.pixel(10, 25), Red);            // scaled from 40 to 50 pixels
    EXPECT_EQ(picture.pixel(40, 25), Blue);           // their own page is transparent
    EXPECT_EQ(picture.pixel(60, 10), qRgb(0, 0, 0));  // a Windows metafile as well
    EXPECT_EQ(picture.pixel(90, 10), Blue);
    EXPECT_EQ(picture.pixel(60, 40), Blue);  // below its bitmap
}

// Drawn at the size they take, their edges are as sharp as the page's own.
TEST(EmfPlusRenderingTest, metafileImagesAreDrawnAtTheSizeTheyTake) {
    EmfWriter inner(40, 40);
    inner.createBrush(1, 0, Red).selectObject(1).selectObject(NullPen);
    inner.rectangle(QRect(QPoint(0, 0), QPoint(20, 40)));
    EmfWriter emf(320, 80);
    PlusRecords plus;
    plus.add(0x400A, ColourFlag, words({Blue, 1}) + floats({0, 0, 320, 80}));
    plus.add(0x4008, ImageObject | 0, metafileImage(3, inner.finish()));
    plus.add(0x401A, 0, drawImage(0, 0, 320, 80));
    plus.add(0x4002, 0, {});
    plus.flushInto(emf);
    const QImage picture = decodeEnhancedMetafile(emf.finish());
    ASSERT_EQ(picture.size(), QSize(320, 80));
    EXPECT_EQ(picture.pixel(157, 40), Red);
    EXPECT_EQ(picture.pixel(163, 40), Blue);
}

TEST(EmfPlusRenderingTest, customLineCapsAreDrawnAtTheEndsOfOpenLines) {
    // An adjustable arrow 4 pen widths wide and long, filled.
    const QByteArray arrow = words({0xDBC01002, 1}) + floats({4, 4, 0}) + words({1, 0, 0, 0}) +
                             floats({10, 1, 0, 0, 0, 0});
    const QByteArray pen = words({0xDBC01002, 0, 0x1000, 0}) + floats({2}) +
                           words({static_cast<std::uint32_t>(arrow.size())}) + arrow +
                           solidBrush(Blue);
    EmfWriter emf(100, 80);
    PlusRecords plus;
    plus.add(0x4008, PenObject | 0, pen);
    plus.add(0x400D, 0, words({2}) + floats({10, 40, 90, 40}));
    plus.add(0x4002, 0, {});
    plus.flushInto(emf);
    const QImage picture = decodeEnhancedMetafile(emf.finish());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixel(20, 40), Blue);
    EXPECT_EQ(picture.pixel(84, 38), Blue);  // the arrow is wider than the line
    EXPECT_EQ(picture.pixel(20, 38), White);
    EXPECT_EQ(picture.pixel(93, 40), White);                     // its tip is the line's end
    EXPECT_EQ(inkIn(picture, QRect(0, 30, 9, 20), InkGrey), 0);  // no cap at the start
}

TEST(EmfPlusRenderingTest, xorAndComplementClipsKeepTheirOwnParts) {
    const auto clipped = [](std::uint32_t mode) {
        EmfWriter emf(100, 20);
        PlusRecords plus;
        plus.add(0x4032, 0, floats({0, 0, 60, 20}));  // replace
        plus.add(0x4032, static_cast<int>(mode << 8), floats({40, 0, 60, 20}));
        plus.add(0x400A, ColourFlag, fillRect(0, 0, 100, 20));
        plus.add(0x4002, 0, {});
        plus.flushInto(emf);
        return decodeEnhancedMetafile(emf.finish());
    };
    const QImage xored = clipped(3);
    ASSERT_FALSE(xored.isNull());
    EXPECT_EQ(xored.pixel(20, 10), Red);
    EXPECT_EQ(xored.pixel(50, 10), White);  // in both
    EXPECT_EQ(xored.pixel(80, 10), Red);
    const QImage complemented = clipped(5);  // the new area less the current one
    ASSERT_FALSE(complemented.isNull());
    EXPECT_EQ(complemented.pixel(20, 10), White);
    EXPECT_EQ(complemented.pixel(50, 10), White);
    EXPECT_EQ(complemented.pixel(80, 10), Red);
}

}  // namespace

}  // namespace pictarium::test
