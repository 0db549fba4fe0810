#include "tests/engine/engine_fixture.h"
#include "tests/imaging/bitmap_bytes.h"
#include "tests/imaging/hand_built_samples.h"
#include "tests/imaging/library_samples.h"
#include "tests/imaging/picture_file_fixture.h"

#include <QColorSpace>

namespace pictarium::test {
namespace {

const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);

// sRGB with its red and green primaries swapped: a file that stores pure
// red in it means the display's pure green.
QColorSpace swappedRedAndGreen() {
    return QColorSpace(QPointF(0.3127, 0.3290), QPointF(0.30, 0.60), QPointF(0.64, 0.33),
                       QPointF(0.15, 0.06), QColorSpace::TransferFunction::SRgb);
}

// 16 x 16: `left` on the left half, `right` on the other, in `space` when valid.
QImage halves(QRgb left, QRgb right, const QColorSpace& space = {}) {
    QImage picture(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            picture.setPixel(x, y, x < 8 ? left : right);
        }
    }
    picture.setColorSpace(space);
    return picture;
}

// A version 5 bitmap of two pixels, red then blue, with `profile` embedded after them.
QByteArray bitmapWithProfile(const QByteArray& profile) {
    const QByteArray pixels = bgr(Red) + bgr(Blue) + QByteArray(2, '\0');
    QByteArray header = le32(124) + le32(2) + le32(1) + le16(1) + le16(24);
    header = header.leftJustified(56, '\0') + le32(0x4D424544);  // "MBED"
    header = header.leftJustified(108, '\0') + le32(4);          // intent
    header += le32(static_cast<int>(124 + pixels.size())) + le32(static_cast<int>(profile.size()));
    header = header.leftJustified(124, '\0');
    const int size = static_cast<int>(14 + header.size() + pixels.size() + profile.size());
    return QByteArray("BM") + le32(size) + le32(0) + le32(14 + 124) + header + pixels + profile;
}

bool isNear(QRgb pixel, QRgb colour, int tolerance) {
    return std::abs(qRed(pixel) - qRed(colour)) <= tolerance &&
           std::abs(qGreen(pixel) - qGreen(colour)) <= tolerance &&
           std::abs(qBlue(pixel) - qBlue(colour)) <= tolerance;
}

class ColourProfileTest : public PictureFileTest {
protected:
    // The pixels at the middle of the left and right halves, as read.
    void expectShown(const QString& name, const QByteArray& bytes, QRgb left, QRgb right,
                     int tolerance) {
        SCOPED_TRACE(name.toStdString());
        const PictureReading reading = readAs(name, bytes);
        ASSERT_EQ(reading.outcome, PictureReading::Outcome::Loaded);
        const QImage& picture = reading.picture;
        const QRgb shownLeft = picture.pixel(picture.width() / 4, picture.height() / 2);
        const QRgb shownRight = picture.pixel(picture.width() * 3 / 4, picture.height() / 2);
        EXPECT_TRUE(isNear(shownLeft, left, tolerance)) << std::hex << shownLeft;
        EXPECT_TRUE(isNear(shownRight, right, tolerance)) << std::hex << shownRight;
    }
};

TEST_F(ColourProfileTest, anEmbeddedProfileIsAppliedInEveryFormatThatCarriesOne) {
    const QColorSpace swapped = swappedRedAndGreen();
    const QRgb green = qRgb(0, 255, 0);
    expectShown(QStringLiteral("v5.bmp"), bitmapWithProfile(swapped.iccProfile()), green, Blue, 2);

    const QByteArray png = writtenByQt(halves(Red, Blue, swapped), "PNG");
    ASSERT_TRUE(png.contains("iCCP"));
    expectShown(QStringLiteral("profiled.png"), png, green, Blue, 2);

    const QByteArray jpeg = writtenByQt(halves(Red, Blue, swapped), "JPEG", 100);
    ASSERT_TRUE(jpeg.contains("ICC_PROFILE"));
    expectShown(QStringLiteral("profiled.jpg"), jpeg, green, Blue, 12);

    MagickOptions options;
    options.iccProfile = swapped.iccProfile();
    expectShown(QStringLiteral("profiled.tif"), writtenByMagick(halves(Red, Blue), "TIFF", options),
                green, Blue, 2);
}

TEST_F(ColourProfileTest, gammaChunksAndProfilesThatCannotBeAppliedLeaveTheSamples) {
    // Gamma 1.0, as every picture of the PNG suite says.
    const QRgb brown = qRgb(128, 64, 32);
    const QRgb slate = qRgb(32, 64, 128);
    const QByteArray png = withPngChunk(writtenByQt(halves(brown, slate), "PNG"), "gAMA",
                                        QByteArray::fromHex("000186A0"));
    expectShown(QStringLiteral("gamma.png"), png, brown, slate, 0);
    expectShown(QStringLiteral("junk.bmp"), bitmapWithProfile(QByteArray(200, 'x')), Red, Blue, 0);
    // A profile that says sRGB changes nothing.
    expectShown(QStringLiteral("srgb.bmp"),
                bitmapWithProfile(QColorSpace(QColorSpace::SRgb).iccProfile()), Red, Blue, 0);
}

}  // namespace
}  // namespace pictarium::test
