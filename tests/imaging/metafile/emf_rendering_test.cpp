#include "imaging/metafile/emf_reader.h"
#include "tests/imaging/metafile/emf_writer.h"
#include "tests/imaging/metafile/ink_count.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QRawFont>

#include <algorithm>

namespace pictarium::test {

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Green = 0xFF00FF00;
constexpr QRgb Blue = 0xFF0000FF;
constexpr QRgb Yellow = 0xFFFFFF00;

constexpr int SolidBrush = 0;
constexpr int HatchedBrush = 2;
constexpr int Transparent = 1;
constexpr int Opaque = 2;

QImage render(const EmfWriter& emf) {
    return decodeEnhancedMetafile(emf.finish());
}

// A writer whose shapes are filled in `colour` without an outline.
EmfWriter filledWith(QRgb colour, int width = 100, int height = 100) {
    EmfWriter emf(width, height);
    emf.createBrush(1, SolidBrush, colour).selectObject(1).selectObject(NullPen);
    return emf;
}

int countOf(const QImage& picture, QRgb colour, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += picture.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

TEST(EmfRenderingTest, theFrameAtScreenResolutionGivesTheSizeOnWhite) {
    const QImage picture = render(EmfWriter(96, 48));
    ASSERT_EQ(picture.size(), QSize(96, 48));
    EXPECT_EQ(countOf(picture, White, picture.rect()), 96 * 48);
}

TEST(EmfRenderingTest, theRecordingDevicePixelsAreScaledToTheFrame) {
    // 4 pixels per millimetre: 25.4 mm, the 96-pixel frame, are 101.6 device pixels.
    EmfWriter emf = filledWith(Red, 96, 96);
    emf.setDevice(1920, 1080, 480, 270).rectangle(QRect(QPoint(0, 0), QPoint(51, 51)));
    const QImage picture = render(emf);
    ASSERT_EQ(picture.size(), QSize(96, 96));
    EXPECT_EQ(picture.pixel(44, 44), Red);
    EXPECT_EQ(picture.pixel(52, 52), White);
}

TEST(EmfRenderingTest, filledPolygonsIn32And16BitForms) {
    for (const bool shortCoordinates : {false, true}) {
        EmfWriter emf = filledWith(Red);
        emf.points(shortCoordinates ? Emr::Polygon16 : Emr::Polygon, {{10, 90}, {50, 10}, {90, 90}},
                   shortCoordinates);
        const QImage picture = render(emf);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.pixel(50, 70), Red);
        EXPECT_EQ(picture.pixel(15, 20), White);
        EXPECT_EQ(picture.pixel(85, 20), White);
    }
}

TEST(EmfRenderingTest, shapesWithVeryLongOutlinesAreDrawnWithHardEdges) {
    const auto blended = [](const QImage& picture) {
        return picture.width() * picture.height() - countOf(picture, Red, picture.rect()) -
               countOf(picture, White, picture.rect());
    };
    EmfWriter triangle = filledWith(Red, 300, 200);
    triangle.points(Emr::Polygon16, {{10, 190}, {150, 10}, {290, 190}}, true);
    EXPECT_GT(blended(render(triangle)), 0);

    // Smoothing this zigzag would take Qt seconds; GDI never smooths.
    QList<QPoint> zigzag;
    for (int x = 0; x < 300; ++x) {
        zigzag.append(QPoint(x, x % 2 == 0 ? 0 : 199));
    }
    EmfWriter spikes = filledWith(Red, 300, 200);
    spikes.points(Emr::Polygon16, zigzag, true);
    const QImage picture = render(spikes);
    EXPECT_GT(countOf(picture, Red, picture.rect()), 10000);
    EXPECT_EQ(blended(picture), 0);
}

TEST(EmfRenderingTest, polyPolygonsFollowTheFillMode) {
    const QList<QList<QPoint>> nested = {{{10, 10}, {90, 10}, {90, 90}, {10, 90}},
                                         {{30, 30}, {70, 30}, {70, 70}, {30, 70}}};
    EmfWriter alternate = filledWith(Blue);
    alternate.polyPolygon16(nested);
    const QImage holed = render(alternate);
    EXPECT_EQ(holed.pixel(20, 20), Blue);
    EXPECT_EQ(holed.pixel(50, 50), White);

    EmfWriter winding = filledWith(Blue);
    winding.setFillMode(2).polyPolygon16(nested);
    EXPECT_EQ(render(winding).pixel(50, 50), Blue);
}

TEST(EmfRenderingTest, aBezierPathIsFilledUnderItsCurve) {
    EmfWriter emf = filledWith(Blue);
    emf.bare(Emr::BeginPath).moveTo({10, 60});
    emf.points(Emr::PolyBezierTo, {{10, 10}, {90, 10}, {90, 60}}, false);
    emf.bare(Emr::CloseFigure).bare(Emr::EndPath).bare(Emr::FillPath);
    const QImage picture = render(emf);
    // The curve's top is at y = 22.5.
    EXPECT_EQ(picture.pixel(50, 30), Blue);
    EXPECT_EQ(picture.pixel(50, 15), White);
    EXPECT_EQ(picture.pixel(50, 70), White);
}

TEST(EmfRenderingTest, aStrokedPathUsesThePenOnly) {
    EmfWriter emf(100, 100);
    emf.createPen(1, 0, 6, Red).selectObject(1).createBrush(2, SolidBrush, Blue).selectObject(2);
    emf.bare(Emr::BeginPath).moveTo({10, 50}).lineTo({90, 50}).bare(Emr::EndPath);
    emf.bare(Emr::StrokePath);
    const QImage picture = render(emf);
    EXPECT_EQ(picture.pixel(50, 50), Red);
    EXPECT_EQ(picture.pixel(50, 60), White);
}

TEST(EmfRenderingTest, hatchedRectanglesDrawLinesOnTheBackgroundColour) {
    constexpr int Horizontal = 0;
    const QRect inside(20, 20, 40, 40);
    EmfWriter opaque(100, 100);
    opaque.createBrush(1, HatchedBrush, Red, Horizontal).selectObject(1).selectObject(NullPen);
    opaque.setBackgroundMode(Opaque).setBackgroundColour(Green);
    opaque.rectangle(QRect(QPoint(10, 10), QPoint(70, 70)));
    const QImage onGreen = render(opaque);
    EXPECT_EQ(countOf(onGreen, White, inside), 0);
    EXPECT_GT(countOf(onGreen, Green, inside), 0);
    // Horizontal lines: each row is all hatch or all background.
    int hatchRows = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const int red = countOf(onGreen, Red, QRect(inside.left(), y, inside.width(), 1));
        EXPECT_TRUE(red == 0 || red == inside.width()) << "row " << y;
        hatchRows += red > 0 ? 1 : 0;
    }
    EXPECT_GE(hatchRows, 4);

    EmfWriter transparent(100, 100);
    transparent.createBrush(1, HatchedBrush, Red, Horizontal).selectObject(1).selectObject(NullPen);
    transparent.setBackgroundMode(Transparent).setBackgroundColour(Green);
    transparent.rectangle(QRect(QPoint(10, 10), QPoint(70, 70)));
    const QImage onWhite = render(transparent);
    EXPECT_EQ(countOf(onWhite, Green, inside), 0);
    EXPECT_EQ(countOf(onWhite, Red, inside), countOf(onGreen, Red, inside));
}

TEST(EmfRenderingTest, textIsDrawnWithAnInstalledFontAtItsAlignment) {
    constexpr int Right = 2;
    EmfWriter left(200, 100);
    left.createFont(1, -40, QStringLiteral("DejaVu Sans")).selectObject(1);
    left.setBackgroundMode(Transparent).textOut({10, 10}, QStringLiteral("HH"));
    const QImage leftPicture = render(left);
    EXPECT_GT(inkIn(leftPicture, QRect(10, 10, 80, 45)), 200);
    EXPECT_EQ(inkIn(leftPicture, QRect(0, 60, 200, 40)), 0);
    EXPECT_EQ(inkIn(leftPicture, QRect(0, 0, 9, 100)), 0);

    EmfWriter right(200, 100);
    right.createFont(1, -40, QStringLiteral("DejaVu Sans")).selectObject(1).setTextAlign(Right);
    right.setBackgroundMode(Transparent).textOut({190, 10}, QStringLiteral("HH"));
    const QImage rightPicture = render(right);
    EXPECT_GT(inkIn(rightPicture, QRect(100, 10, 90, 45)), 200);
    EXPECT_EQ(inkIn(rightPicture, QRect(0, 0, 100, 100)), 0);
}

// A face that lacks a script (here one of Latin letters only) gives way,
// character by character, to a machine font that has it.
TEST(EmfRenderingTest, scriptsTheNamedFaceLacksFallBackToAnotherFont) {
    for (const QString& text : {QStringLiteral(u"\u05E9\u05DC\u05D5\u05DD"),     // Hebrew
                                QStringLiteral(u"\u0633\u0644\u0627\u0645"),     // Arabic
                                QStringLiteral(u"\u4E2D\u6587\u5B57\u7B26")}) {  // Chinese
        EmfWriter emf(300, 80);
        emf.createFont(1, -40, QStringLiteral("Nimbus Mono PS")).selectObject(1);
        emf.setBackgroundMode(Transparent).textOut({10, 10}, text);
        EXPECT_GT(inkIn(render(emf), QRect(0, 0, 300, 80)), 150) << text.toStdString();
    }
}

TEST(EmfRenderingTest, opaqueTextFillsItsCellWithTheBackgroundColour) {
    EmfWriter emf(200, 100);
    emf.createFont(1, -40, QStringLiteral("DejaVu Sans")).selectObject(1);
    emf.setBackgroundMode(Opaque).setBackgroundColour(Yellow).setTextColour(Blue);
    emf.textOut({10, 10}, QStringLiteral("H"));
    const QImage picture = render(emf);
    EXPECT_GT(countOf(picture, Yellow, QRect(10, 10, 30, 40)), 100);
    EXPECT_GT(countOf(picture, Blue, QRect(10, 10, 30, 40)), 50);
    EXPECT_EQ(countOf(picture, Yellow, QRect(100, 0, 100, 100)), 0);
}

// Columns from the leftmost to the rightmost inked one.
int inkWidth(const QImage& picture) {
    int left = picture.width();
    int right = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (isInked(picture.pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return right - left + 1;
}

int inkWidthOf(const QString& text, const QString& face, int width = 0,
               std::uint8_t pitchAndFamily = 0) {
    EmfWriter emf(600, 80);
    emf.createFont(1, -40, face, width, pitchAndFamily).selectObject(1);
    emf.setBackgroundMode(Transparent).textOut({10, 10}, text);
    return inkWidth(render(emf));
}

// How far the pen moves for one character, measured from a run of seven.
double advanceOf(QChar character, const QString& face, std::uint8_t pitchAndFamily = 0) {
    return (inkWidthOf(QString(7, character), face, 0, pitchAndFamily) -
            inkWidthOf(QString(character), face, 0, pitchAndFamily)) /
           6.0;
}

TEST(EmfRenderingTest, fontsKeepTheirFamilyWhenTheFaceIsMissingOrUnnamed) {
    constexpr std::uint8_t Modern = 0x30;
    // Courier New is rarely installed; whatever stands in for it is monospaced.
    const QString courier = QStringLiteral("Courier New");
    EXPECT_NEAR(advanceOf('i', courier), advanceOf('M', courier), 1.0);
    EXPECT_NEAR(advanceOf('i', {}, Modern), advanceOf('M', {}, Modern), 1.0);
    EXPECT_LT(advanceOf('i', {}), advanceOf('M', {}) * 0.6);
}

TEST(EmfRenderingTest, anAverageCharacterWidthNarrowsTheGlyphs) {
    const QString face = QStringLiteral("DejaVu Sans");
    const int natural = inkWidthOf(QStringLiteral("MMMM"), face);
    const int narrow = inkWidthOf(QStringLiteral("MMMM"), face, 8);
    EXPECT_GT(natural, 80);
    EXPECT_LT(narrow, natural * 3 / 4);
    EXPECT_GT(narrow, 0);
}

TEST(EmfRenderingTest, glyphNumbersAreDrawnOnlyInTheFaceTheyBelongTo) {
    const QString face = QStringLiteral("DejaVu Sans");
    const QString text = QStringLiteral("Hé!");
    QFont font(face);
    font.setPixelSize(40);
    font.setBold(true);
    QString glyphs;
    for (const quint32 glyph : QRawFont::fromFont(font).glyphIndexesForString(text)) {
        glyphs.append(QChar(static_cast<char16_t>(glyph)));
    }
    const auto picture = [](const QString& fontFace, const QString& units, std::uint32_t options) {
        EmfWriter emf(200, 80);
        emf.createFont(1, -40, fontFace).selectObject(1);
        emf.setBackgroundMode(Transparent).textOut({10, 10}, units, options);
        return render(emf);
    };
    const QImage asText = picture(face, text, 0);
    EXPECT_GT(inkIn(asText, asText.rect()), 200);
    EXPECT_EQ(picture(face, glyphs, GlyphIndexText), asText);
    // In a stand-in face the numbers would name other glyphs.
    const QImage standIn = picture(QStringLiteral("No Such Face"), glyphs, GlyphIndexText);
    EXPECT_EQ(inkIn(standIn, standIn.rect()), 0);
}

QImage fourColours(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            picture.setPixel(x, y, bottom ? (right ? Yellow : Blue) : (right ? Green : Red));
        }
    }
    return picture;
}

TEST(EmfRenderingTest, embeddedBitmapsAreStretchedIntoPlace) {
    EmfWriter emf(100, 100);
    emf.stretchDib(QRect(10, 10, 40, 40), fourColours(2, 2));
    const QImage picture = render(emf);
    EXPECT_EQ(picture.pixel(15, 15), Red);
    EXPECT_EQ(picture.pixel(45, 15), Green);
    EXPECT_EQ(picture.pixel(15, 45), Blue);
    EXPECT_EQ(picture.pixel(45, 45), Yellow);
    EXPECT_EQ(picture.pixel(55, 55), White);
}

TEST(EmfRenderingTest, bitBlockTransfersCopyTheBitmapAtItsSize) {
    EmfWriter emf(100, 100);
    emf.bitBlt({20, 30}, fourColours(10, 6));
    const QImage picture = render(emf);
    EXPECT_EQ(picture.pixel(20, 30), Red);
    EXPECT_EQ(picture.pixel(29, 30), Green);
    EXPECT_EQ(picture.pixel(20, 35), Blue);
    EXPECT_EQ(picture.pixel(29, 35), Yellow);
    EXPECT_EQ(picture.pixel(30, 36), White);
}

TEST(EmfRenderingTest, theWorldTransformMovesAndScalesShapes) {
    EmfWriter emf = filledWith(Red);
    emf.setWorldTransform({2, 0, 0, 2, 10, 20}).rectangle(QRect(QPoint(0, 0), QPoint(20, 10)));
    const QImage picture = render(emf);
    EXPECT_EQ(picture.pixel(30, 30), Red);
    EXPECT_EQ(picture.pixel(5, 5), White);
    EXPECT_EQ(picture.pixel(60, 30), White);
}

TEST(EmfRenderingTest, modifiedTransformsComposeAndRestoreBringsThemBack) {
    constexpr int LeftMultiply = 2;
    EmfWriter emf = filledWith(Red);
    emf.setWorldTransform({1, 0, 0, 1, 50, 0}).saveContext();
    // Scaling first, then the translation already set.
    emf.modifyWorldTransform({2, 0, 0, 2, 0, 0}, LeftMultiply);
    emf.rectangle(QRect(QPoint(0, 0), QPoint(10, 10)));  // (50,0)-(70,20)
    emf.restoreContext();
    emf.createBrush(2, SolidBrush, Blue).selectObject(2);
    emf.rectangle(QRect(QPoint(0, 50), QPoint(10, 60)));  // (50,50)-(60,60)
    const QImage picture = render(emf);
    EXPECT_EQ(picture.pixel(65, 15), Red);
    EXPECT_EQ(picture.pixel(55, 55), Blue);
    EXPECT_EQ(picture.pixel(65, 65), White);
}

TEST(EmfRenderingTest, mappingModesScaleAndTurnTheAxes) {
    constexpr int HighMetric = 3;
    constexpr int Anisotropic = 8;
    EmfWriter scaled = filledWith(Red);
    scaled.setMapMode(Anisotropic).setWindowExtent(1000, 1000).setViewportExtent(100, 100);
    scaled.rectangle(QRect(QPoint(0, 0), QPoint(500, 500)));
    const QImage small = render(scaled);
    EXPECT_EQ(small.pixel(45, 45), Red);
    EXPECT_EQ(small.pixel(55, 55), White);

    // Hundredths of a millimetre, y upwards: 1270 is 48 pixels.
    EmfWriter metric = filledWith(Red);
    metric.setMapMode(HighMetric).rectangle(QRect(QPoint(0, 0), QPoint(1270, -1270)));
    const QImage upwards = render(metric);
    EXPECT_EQ(upwards.pixel(40, 40), Red);
    EXPECT_EQ(upwards.pixel(52, 52), White);
}

TEST(EmfRenderingTest, clipRectanglesLimitDrawing) {
    EmfWriter emf = filledWith(Red);
    emf.intersectClip(QRect(QPoint(20, 20), QPoint(60, 60)));
    emf.excludeClip(QRect(QPoint(30, 30), QPoint(40, 40)));
    emf.rectangle(QRect(QPoint(0, 0), QPoint(100, 100)));
    const QImage picture = render(emf);
    EXPECT_EQ(picture.pixel(25, 25), Red);
    EXPECT_EQ(picture.pixel(35, 35), White);
    EXPECT_EQ(picture.pixel(10, 10), White);
    EXPECT_EQ(picture.pixel(70, 50), White);
}

TEST(EmfRenderingTest, ellipsesAndPies) {
    EmfWriter ellipse = filledWith(Blue);
    ellipse.ellipse(QRect(QPoint(10, 10), QPoint(90, 90)));
    const QImage round = render(ellipse);
    EXPECT_EQ(round.pixel(50, 50), Blue);
    EXPECT_EQ(round.pixel(14, 14), White);

    // Counter-clockwise from the right to the top: the top-right quarter.
    EmfWriter pie = filledWith(Blue);
    pie.pie(QRect(QPoint(0, 0), QPoint(100, 100)), {100, 50}, {50, 0});
    const QImage quarter = render(pie);
    EXPECT_EQ(quarter.pixel(70, 30), Blue);
    EXPECT_EQ(quarter.pixel(30, 30), White);
    EXPECT_EQ(quarter.pixel(70, 70), White);
}

// Nested square rings a third of a pixel wide, as gradients are drawn, each
// in its own colour.
void drawRings(EmfWriter& emf) {
    constexpr int Centre = 135;
    const auto square = [](int half) {
        return QList<QPoint>{{Centre - half, Centre - half},
                             {Centre + half, Centre - half},
                             {Centre + half, Centre + half},
                             {Centre - half, Centre + half}};
    };
    for (int half = 120; half > 0; --half) {
        emf.createBrush(1, SolidBrush, qRgb(half, 140 + half / 2, 100)).selectObject(1);
        emf.polyPolygon16({square(half), square(half - 1)}).deleteObject(1);
    }
}

TEST(EmfRenderingTest, xorDrawingTwiceAroundAMaskLeavesTheRingsInsideOnly) {
    EmfWriter emf(100, 100);
    emf.setWorldTransform({0.37f, 0, 0, 0.37f, 0, 0}).selectObject(NullPen);
    emf.setMixMode(XorMix);
    drawRings(emf);
    emf.setMixMode(CopyMix);
    emf.createBrush(2, SolidBrush, 0xFF000000).selectObject(2);
    emf.rectangle(QRect(QPoint(95, 95), QPoint(175, 175)));
    emf.setMixMode(XorMix);
    drawRings(emf);
    const QImage picture = render(emf);
    const QRect mask(36, 36, 28, 28);  // the black square, within its edge pixels
    int seams = 0;
    int darkInside = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (mask.contains(x, y)) {
                darkInside += qGreen(pixel) < 140 ? 1 : 0;
            } else if (!mask.adjusted(-1, -1, 1, 1).contains(x, y)) {
                seams += pixel != White ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(seams, 0);
    EXPECT_EQ(darkInside, 0);
}

TEST(EmfRenderingTest, pensHaveTheirWidthAndColour) {
    EmfWriter emf(100, 100);
    emf.createPen(1, 0, 10, Red).selectObject(1);
    emf.points(Emr::Polyline, {{10, 50}, {90, 50}}, false);
    const QImage picture = render(emf);
    EXPECT_EQ(picture.pixel(50, 47), Red);
    EXPECT_EQ(picture.pixel(50, 40), White);
}

TEST(EmfRenderingTest, shapesReachingFarOutsideTheFrameDrawTheirVisiblePart) {
    EmfWriter emf = filledWith(Red);
    emf.rectangle(QRect(QPoint(-50000000, -50000000), QPoint(40, 40)));
    emf.createPen(2, 0, 10, Blue).selectObject(2);
    emf.points(Emr::Polyline, {{-50000000, 70}, {50000000, 70}}, false);
    const QImage picture = render(emf);
    EXPECT_EQ(picture.pixel(20, 20), Red);
    EXPECT_EQ(picture.pixel(45, 45), White);
    EXPECT_EQ(picture.pixel(90, 70), Blue);
    EXPECT_EQ(picture.pixel(90, 60), White);
}

TEST(EmfRenderingTest, emfPlusCommentsAndUnknownRecordsAreSkipped) {
    EmfWriter emf = filledWith(Red);
    emf.comment(QByteArray("EMF+") + QByteArray(40, '\x7F'));
    emf.record(250, QByteArray(12, '\x01'));
    emf.rectangle(QRect(QPoint(10, 10), QPoint(50, 50)));
    EXPECT_EQ(render(emf).pixel(30, 30), Red);
}

}  // namespace

}  // namespace pictarium::test
