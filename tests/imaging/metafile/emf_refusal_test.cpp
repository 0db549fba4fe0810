#include "imaging/core/bitmap_codec.h"
#include "imaging/metafile/emf_reader.h"
#include "tests/imaging/metafile/emf_writer.h"

#include <gtest/gtest.h>

namespace pictarium::test {

namespace {

// A little of everything, so that cuts fall inside records of every kind.
QByteArray sampleMetafile() {
    QImage dot(3, 3, QImage::Format_RGB32);
    dot.fill(Qt::red);
    EmfWriter emf(64, 64);
    emf.createBrush(1, 0, 0xFF0000FF).selectObject(1);
    emf.points(Emr::Polygon, {{1, 1}, {60, 5}, {30, 60}}, false);
    emf.createFont(2, -12, QStringLiteral("DejaVu Sans")).selectObject(2);
    emf.textOut({5, 5}, QStringLiteral("Abc"));
    emf.stretchDib(QRect(10, 10, 20, 20), dot);
    return emf.finish();
}

void putU32(QByteArray& bytes, qsizetype offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// Offset of the first record after the header.
constexpr qsizetype FirstRecord = 88;

TEST(EmfRefusalTest, theSampleItselfReads) {
    EXPECT_FALSE(decodeEnhancedMetafile(sampleMetafile()).isNull());
}

TEST(EmfRefusalTest, everyCutShortCopyIsRefused) {
    const QByteArray whole = sampleMetafile();
    for (qsizetype size = 0; size < whole.size(); ++size) {
        EXPECT_TRUE(decodeEnhancedMetafile(whole.first(size)).isNull()) << "size " << size;
    }
}

TEST(EmfRefusalTest, aFileWithoutItsEndRecordIsRefusedEvenWhenTheHeaderAgrees) {
    QByteArray bytes = sampleMetafile();
    bytes.chop(20);
    putU32(bytes, 48, static_cast<std::uint32_t>(bytes.size()));
    EXPECT_TRUE(decodeEnhancedMetafile(bytes).isNull());
}

TEST(EmfRefusalTest, recordSizesThatLieAreRefused) {
    const QByteArray good = sampleMetafile();
    for (const std::uint32_t size : {0u, 4u, 7u, 8u, 0xFFFFFFF0u, 1u << 20}) {
        QByteArray bytes = good;
        putU32(bytes, FirstRecord + 4, size);
        EXPECT_TRUE(decodeEnhancedMetafile(bytes).isNull()) << "size " << size;
    }
}

TEST(EmfRefusalTest, countsBeyondTheirRecordAreRefused) {
    ByteWriter points;
    points.fill(16).u32le(0x0FFFFFFF).fill(16);  // bounds, count, two points
    EmfWriter polygon(64, 64);
    polygon.record(Emr::Polygon, points.result());
    EXPECT_TRUE(decodeEnhancedMetafile(polygon.finish()).isNull());

    // Figures whose point counts do not add up to the total.
    ByteWriter figures;
    figures.fill(16).u32le(2).u32le(4).u32le(2).u32le(3);
    figures.u16le(0).u16le(0).u16le(9).u16le(9).u16le(0).u16le(9).u16le(9).u16le(0);
    EmfWriter polyPolygon(64, 64);
    polyPolygon.record(91, figures.result());
    EXPECT_TRUE(decodeEnhancedMetafile(polyPolygon.finish()).isNull());

    // Text whose string lies outside its record.
    ByteWriter text;
    text.fill(16).u32le(1).u32le(0).u32le(0).u32le(5).u32le(5);
    text.u32le(1000).u32le(76).u32le(0x100).u32le(0);
    EmfWriter textOut(64, 64);
    textOut.record(84, text.result());
    EXPECT_TRUE(decodeEnhancedMetafile(textOut.finish()).isNull());
}

TEST(EmfRefusalTest, aHeaderThatDoesNotHoldIsRefused) {
    const QByteArray good = sampleMetafile();

    QByteArray signature = good;
    signature[41] = 'X';
    EXPECT_TRUE(decodeEnhancedMetafile(signature).isNull());

    QByteArray longer = good;
    putU32(longer, 48, static_cast<std::uint32_t>(good.size() + 1));
    EXPECT_TRUE(decodeEnhancedMetafile(longer).isNull());

    QByteArray emptyFrame = good;
    putU32(emptyFrame, 32, 0);  // right edge at the left one
    EXPECT_TRUE(decodeEnhancedMetafile(emptyFrame).isNull());

    QByteArray shortHeader = good;
    putU32(shortHeader, 4, 40);
    EXPECT_TRUE(decodeEnhancedMetafile(shortHeader).isNull());
}

// A drawing has no pixel size of its own: a poster drawn at full size
// (here 40 m by 20 m) is drawn smaller, keeping its shape, not refused.
TEST(EmfRefusalTest, aFrameBeyondThePixelLimitIsDrawnSmaller) {
    QByteArray huge = sampleMetafile();
    putU32(huge, 32, 4'000'000);
    putU32(huge, 36, 2'000'000);
    const QImage picture = decodeEnhancedMetafile(huge);
    ASSERT_FALSE(picture.isNull());
    // Within the rounding of one row and one column.
    EXPECT_LE(std::int64_t{picture.width()} * picture.height(),
              25'000'000 + picture.width() + picture.height());
    EXPECT_GT(std::int64_t{picture.width()} * picture.height(), 24'000'000);
    EXPECT_NEAR(picture.width(), 2 * picture.height(), 2);
}

TEST(EmfRefusalTest, otherFilesAreRefused) {
    EXPECT_TRUE(decodeEnhancedMetafile(QByteArray()).isNull());
    EXPECT_TRUE(decodeEnhancedMetafile(QByteArray(200, '\0')).isNull());
    EXPECT_TRUE(decodeEnhancedMetafile(QByteArray("BM") + QByteArray(100, '\x01')).isNull());
}

}  // namespace

}  // namespace pictarium::test
