#include "tests/engine/engine_fixture.h"
#include "tests/stored_base.h"

namespace pictarium::test {
namespace {

using ForeignBitmaps = EngineTest;

// A base another program wrote, its pictures stored as run-length and
// bit-field bitmaps: each record shows its picture as the base is browsed.
// Every kind of bitmap the codec reads is the bitmap tests' to try.
TEST_F(ForeignBitmaps, aBaseOfRunLengthAndBitFieldPicturesBrowses) {
    const QRgb red = qRgb(255, 0, 0);
    const QRgb green = qRgb(0, 255, 0);
    const QRgb blue = qRgb(0, 0, 255);
    const QRgb white = qRgb(255, 255, 255);
    const QByteArray colours = bitmapPalette({red, green, blue, white});
    // Each 2 x 2: red, green on top; blue, white below.
    const std::pair<QString, QByteArray> pictures[] = {
        {"RLE8", bitmapFile(bitmapHeader(40, 2, 8, 1, 4), colours,
                            QByteArray("\x01\x02\x01\x03\x00\x00\x01\x00\x01\x01\x00\x01", 12))},
        {"5-6-5 bit fields",
         bitmapFile(bitmapHeader(40, 2, 16, 3), words({0xF800, 0x07E0, 0x001F}),
                    ByteWriter().u16les({0x001F, 0xFFFF, 0xF800, 0x07E0}).result())},
    };
    QList<StoredRecord> records;
    for (const auto& [name, file] : pictures) {
        records.append({storedText(name.toLatin1()), file.mid(3)});
    }
    writeAll(basePath(), wellFormedBase(records));
    ASSERT_TRUE(mBase.OpenBDP(basePath()));
    for (const auto& [name, file] : pictures) {
        if (name != pictures[0].first) {
            ASSERT_TRUE(mBase.MoveNext());
        }
        EXPECT_EQ(mHost.lastText, name);
        const QImage& shown = mHost.lastPicture;
        ASSERT_EQ(shown.size(), QSize(2, 2)) << name.toStdString();
        EXPECT_EQ(shown.pixel(0, 0), red) << name.toStdString();
        EXPECT_EQ(shown.pixel(1, 0), green) << name.toStdString();
        EXPECT_EQ(shown.pixel(0, 1), blue) << name.toStdString();
        EXPECT_EQ(shown.pixel(1, 1), white) << name.toStdString();
    }
    EXPECT_TRUE(mHost.messages.empty());
}

}  // namespace
}  // namespace pictarium::test
