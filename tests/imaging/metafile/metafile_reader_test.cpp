#include "base/byte_order.h"
#include "imaging/metafile/emf_piecewise_stroke_p.h"
#include "imaging/metafile/emf_reader.h"
#include "imaging/metafile/wmf_charsets_p.h"
#include "imaging/metafile/wmf_reader.h"
#include "tests/imaging/metafile/emf_writer.h"
#include "tests/imaging/metafile/emfplus_records.h"
#include "tests/imaging/metafile/ink_count.h"
#include "tests/imaging/metafile/wmf_writer.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <QRawFont>

#include <algorithm>

namespace pictarium::test {

namespace {

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

// The frame's size at screen resolution, on white, is the imaging
// samples' to check; here, a device of another resolution. 4 pixels per
// millimetre: 25.4 mm, the 96-pixel frame, are 101.6 device pixels.
TEST(EmfRenderingTest, theFrameGivesTheSizeWhateverTheDevicesResolution) {
    EmfWriter device = filledWith(Red, 96, 96);
    device.setDevice(1920, 1080, 480, 270).rectangle(edges(0, 0, 51, 51));
    const QImage scaled = render(device);
    ASSERT_EQ(scaled.size(), QSize(96, 96));
    expectProbes(scaled, probes(at(44, 44, Red), at(52, 52, White)));
}

EmfWriter bezierPath() {
    EmfWriter emf = filledWith(Blue);
    emf.bare(Emr::BeginPath).moveTo({10, 60});
    emf.points(Emr::PolyBezierTo, {{10, 10}, {90, 10}, {90, 60}}, false);
    emf.bare(Emr::CloseFigure).bare(Emr::EndPath).bare(Emr::FillPath);
    return emf;
}

EmfWriter strokedLine() {
    EmfWriter emf(100, 100);
    emf.createPen(1, 0, 6, Red).selectObject(1).createBrush(2, SolidBrush, Blue).selectObject(2);
    emf.bare(Emr::BeginPath).moveTo({10, 50}).lineTo({90, 50}).bare(Emr::EndPath);
    return emf.bare(Emr::StrokePath);
}

// Scaling left-multiplied onto a translation, then restored.
EmfWriter composedTransforms() {
    constexpr int LeftMultiply = 2;
    EmfWriter emf = filledWith(Red);
    emf.setWorldTransform({1, 0, 0, 1, 50, 0}).saveContext();
    emf.modifyWorldTransform({2, 0, 0, 2, 0, 0}, LeftMultiply);
    emf.rectangle(edges(0, 0, 10, 10)).restoreContext();  // (50,0)-(70,20)
    emf.createBrush(2, SolidBrush, Blue).selectObject(2);
    return emf.rectangle(edges(0, 50, 10, 60));  // (50,50)-(60,60)
}

EmfWriter clipped() {
    EmfWriter emf = filledWith(Red);
    emf.intersectClip(edges(20, 20, 60, 60)).excludeClip(edges(30, 30, 40, 40));
    return emf.rectangle(edges(0, 0, 100, 100));
}

EmfWriter farReachingShapes() {
    EmfWriter emf = filledWith(Red);
    emf.rectangle(edges(-50000000, -50000000, 40, 40)).createPen(2, 0, 10, Blue).selectObject(2);
    return emf.points(Emr::Polyline, {{-50000000, 70}, {50000000, 70}}, false);
}

EmfWriter skippedRecords() {
    EmfWriter emf = filledWith(Red);
    emf.comment("EMF+" + QByteArray(40, '\x7F')).record(250, QByteArray(12, '\x01'));
    return emf.rectangle(edges(10, 10, 50, 50));
}

// What a metafile draws, and pixels that show it.
struct Drawn {
    const char* name;
    EmfWriter emf;
    QList<Probe> probes;
};

TEST(EmfRenderingTest, recordsDrawTheirShapesInPlace) {
    constexpr int HighMetric = 3;
    constexpr int Anisotropic = 8;
    const QList<QPoint> triangle = {{10, 90}, {50, 10}, {90, 90}};
    const QList<QList<QPoint>> nested = {{{10, 10}, {90, 10}, {90, 90}, {10, 90}},
                                         {{30, 30}, {70, 30}, {70, 70}, {30, 70}}};
    const QList<Probe> underTriangle =
        probes(at(50, 70, Red), at(15, 20, White), at(85, 20, White));
    const Drawn drawings[] = {
        {"polygon", filledWith(Red).points(Emr::Polygon, triangle, false), underTriangle},
        {"16-bit polygon", filledWith(Red).points(Emr::Polygon16, triangle, true), underTriangle},
        {"poly-polygon, alternate", filledWith(Blue).polyPolygon16(nested),
         probes(at(20, 20, Blue), at(50, 50, White))},
        {"poly-polygon, winding", filledWith(Blue).setFillMode(2).polyPolygon16(nested),
         probes(at(50, 50, Blue))},
        // The curve's top is at y = 22.5.
        {"path filled under its curve", bezierPath(),
         probes(at(50, 30, Blue), at(50, 15, White), at(50, 70, White))},
        {"stroked path, the pen only", strokedLine(), probes(at(50, 50, Red), at(50, 60, White))},
        {"stretched bitmap",
         EmfWriter(100, 100).stretchDib(QRect(10, 10, 40, 40), fourColours(2, 2, Yellow)),
         probes(at(15, 15, Red), at(45, 15, Green), at(15, 45, Blue), at(45, 45, Yellow),
                at(55, 55, White))},
        {"bit-block transfer at its size",
         EmfWriter(100, 100).bitBlt({20, 30}, fourColours(10, 6, Yellow)),
         probes(at(20, 30, Red), at(29, 30, Green), at(20, 35, Blue), at(29, 35, Yellow),
                at(30, 36, White))},
        {"world transform",
         filledWith(Red).setWorldTransform({2, 0, 0, 2, 10, 20}).rectangle(edges(0, 0, 20, 10)),
         probes(at(30, 30, Red), at(5, 5, White), at(60, 30, White))},
        {"transforms composed and restored", composedTransforms(),
         probes(at(65, 15, Red), at(55, 55, Blue), at(65, 65, White))},
        {"anisotropic mapping",
         filledWith(Red)
             .setMapMode(Anisotropic)
             .setWindowExtent(1000, 1000)
             .setViewportExtent(100, 100)
             .rectangle(edges(0, 0, 500, 500)),
         probes(at(45, 45, Red), at(55, 55, White))},
        // Hundredths of a millimetre, y upwards: 1270 is 48 pixels.
        {"metric mapping",
         filledWith(Red).setMapMode(HighMetric).rectangle(edges(0, 0, 1270, -1270)),
         probes(at(40, 40, Red), at(52, 52, White))},
        {"clip rectangles", clipped(),
         probes(at(25, 25, Red), at(35, 35, White), at(10, 10, White), at(70, 50, White))},
        {"ellipse", filledWith(Blue).ellipse(edges(10, 10, 90, 90)),
         probes(at(50, 50, Blue), at(14, 14, White))},
        // Counter-clockwise from the right to the top: the top-right quarter.
        {"pie", filledWith(Blue).pie(edges(0, 0, 100, 100), {100, 50}, {50, 0}),
         probes(at(70, 30, Blue), at(30, 30, White), at(70, 70, White))},
        {"wide pen",
         EmfWriter(100, 100)
             .createPen(1, 0, 10, Red)
             .selectObject(1)
             .points(Emr::Polyline, {{10, 50}, {90, 50}}, false),
         probes(at(50, 47, Red), at(50, 40, White))},
        {"shapes reaching far outside the frame", farReachingShapes(),
         probes(at(20, 20, Red), at(45, 45, White), at(90, 70, Blue), at(90, 60, White))},
        {"EMF+ comments and unknown records skipped", skippedRecords(), probes(at(30, 30, Red))},
    };
    for (const Drawn& drawn : drawings) {
        SCOPED_TRACE(drawn.name);
        const QImage picture = render(drawn.emf);
        expectProbes(picture, drawn.probes);
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

TEST(EmfRenderingTest, hatchedRectanglesDrawLinesOnTheBackgroundColour) {
    constexpr int Horizontal = 0;
    const QRect inside(20, 20, 40, 40);
    const auto hatched = [](int backgroundMode) {
        EmfWriter emf(100, 100);
        emf.createBrush(1, HatchedBrush, Red, Horizontal).selectObject(1).selectObject(NullPen);
        emf.setBackgroundMode(backgroundMode).setBackgroundColour(Green);
        return render(emf.rectangle(edges(10, 10, 70, 70)));
    };
    const QImage onGreen = hatched(Opaque);
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
    const QImage onWhite = hatched(Transparent);
    EXPECT_EQ(countOf(onWhite, Green, inside), 0);
    EXPECT_EQ(countOf(onWhite, Red, inside), countOf(onGreen, Red, inside));
}

struct Text {
    QString face = QStringLiteral("DejaVu Sans");
    int width = 0;  // the average character width, or the face's own
    std::uint8_t pitchAndFamily = 0;
    int align = 0;
    std::uint32_t options = 0;
};

// Text 40 pixels high from `reference`, on a transparent background.
QImage textPicture(QSize size, QPoint reference, const QString& text, const Text& font = {}) {
    EmfWriter emf(size.width(), size.height());
    emf.createFont(1, -40, font.face, font.width, font.pitchAndFamily).selectObject(1);
    emf.setTextAlign(font.align).setBackgroundMode(Transparent);
    return render(emf.textOut(reference, text, font.options));
}

TEST(EmfRenderingTest, textIsDrawnWithAnInstalledFontAtItsAlignment) {
    constexpr int Right = 2;
    const QImage left = textPicture({200, 100}, {10, 10}, QStringLiteral("HH"));
    EXPECT_GT(inkIn(left, QRect(10, 10, 80, 45)), 200);
    EXPECT_EQ(inkIn(left, QRect(0, 60, 200, 40)), 0);
    EXPECT_EQ(inkIn(left, QRect(0, 0, 9, 100)), 0);
    const QImage right = textPicture({200, 100}, {190, 10}, QStringLiteral("HH"), {.align = Right});
    EXPECT_GT(inkIn(right, QRect(100, 10, 90, 45)), 200);
    EXPECT_EQ(inkIn(right, QRect(0, 0, 100, 100)), 0);
}

// A face that lacks a script (here one of Latin letters only) gives way,
// character by character, to a machine font that has it.
TEST(EmfRenderingTest, scriptsTheNamedFaceLacksFallBackToAnotherFont) {
    for (const QString& text : {QStringLiteral(u"\u05E9\u05DC\u05D5\u05DD"),     // Hebrew
                                QStringLiteral(u"\u0633\u0644\u0627\u0645"),     // Arabic
                                QStringLiteral(u"\u4E2D\u6587\u5B57\u7B26")}) {  // Chinese
        const QImage picture =
            textPicture({300, 80}, {10, 10}, text, {.face = QStringLiteral("Nimbus Mono PS")});
        EXPECT_GT(inkIn(picture, picture.rect()), 150) << text.toStdString();
    }
}

TEST(EmfRenderingTest, opaqueTextFillsItsCellWithTheBackgroundColour) {
    EmfWriter emf(200, 100);
    emf.createFont(1, -40, QStringLiteral("DejaVu Sans")).selectObject(1);
    emf.setBackgroundMode(Opaque).setBackgroundColour(Yellow).setTextColour(Blue);
    const QImage picture = render(emf.textOut({10, 10}, QStringLiteral("H")));
    EXPECT_GT(countOf(picture, Yellow, QRect(10, 10, 30, 40)), 100);
    EXPECT_GT(countOf(picture, Blue, QRect(10, 10, 30, 40)), 50);
    EXPECT_EQ(countOf(picture, Yellow, QRect(100, 0, 100, 100)), 0);
}

// Columns from the leftmost to the rightmost inked one, of a text 600
// pixels wide at most.
int inkWidthOf(const QString& text, const Text& font) {
    const QImage picture = textPicture({600, 80}, {10, 10}, text, font);
    int left = picture.width();
    int right = -1;
    for (int x = 0; x < picture.width(); ++x) {
        if (inkIn(picture, QRect(x, 0, 1, picture.height())) > 0) {
            left = std::min(left, x);
            right = x;
        }
    }
    return right - left + 1;
}

// How far the pen moves for one character, measured from a run of seven.
double advanceOf(QChar character, const Text& font) {
    return (inkWidthOf(QString(7, character), font) - inkWidthOf(QString(character), font)) / 6.0;
}

TEST(EmfRenderingTest, fontsKeepTheirFamilyWhenTheFaceIsMissingOrUnnamed) {
    constexpr std::uint8_t Modern = 0x30;
    // Courier New is rarely installed; whatever stands in for it is monospaced.
    const Text courier = {.face = QStringLiteral("Courier New")};
    EXPECT_NEAR(advanceOf('i', courier), advanceOf('M', courier), 1.0);
    const Text modern = {.face = {}, .pitchAndFamily = Modern};
    EXPECT_NEAR(advanceOf('i', modern), advanceOf('M', modern), 1.0);
    EXPECT_LT(advanceOf('i', {.face = {}}), advanceOf('M', {.face = {}}) * 0.6);
}

TEST(EmfRenderingTest, anAverageCharacterWidthNarrowsTheGlyphs) {
    const int natural = inkWidthOf(QStringLiteral("MMMM"), {});
    const int narrow = inkWidthOf(QStringLiteral("MMMM"), {.width = 8});
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
    const QImage asText = textPicture({200, 80}, {10, 10}, text);
    EXPECT_GT(inkIn(asText, asText.rect()), 200);
    EXPECT_EQ(textPicture({200, 80}, {10, 10}, glyphs, {.options = GlyphIndexText}), asText);
    // In a stand-in face the numbers would name other glyphs.
    const QImage standIn =
        textPicture({200, 80}, {10, 10}, glyphs,
                    {.face = QStringLiteral("No Such Face"), .options = GlyphIndexText});
    EXPECT_EQ(inkIn(standIn, standIn.rect()), 0);
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
    emf.rectangle(edges(95, 95, 175, 175));
    emf.setMixMode(XorMix);
    drawRings(emf);
    const QImage picture = render(emf);
    const QRect mask(36, 36, 28, 28);  // the black square, within its edge pixels
    const auto notWhite = [](QRgb pixel) { return pixel != White; };
    EXPECT_EQ(countPixels(picture, mask, [](QRgb pixel) { return qGreen(pixel) < 140; }), 0);
    EXPECT_EQ(countPixels(picture, picture.rect(), notWhite),
              countPixels(picture, mask.adjusted(-1, -1, 1, 1), notWhite));  // no seams outside
}

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

// The sample with the 32-bit field at `offset` set to `value`.
QByteArray withField(qsizetype offset, std::int64_t value, QByteArray bytes = sampleMetafile()) {
    putInt32(bytes.data() + offset, static_cast<std::int32_t>(value));
    return bytes;
}

// Offset of the first record after the header, and of the header's fields.
constexpr qsizetype FirstRecord = 88;
constexpr qsizetype FrameRight = 32;
constexpr qsizetype FrameBottom = 36;
constexpr qsizetype TotalSize = 48;

TEST(EmfRefusalTest, everyCutShortCopyIsRefused) {
    const QByteArray whole = sampleMetafile();
    ASSERT_FALSE(decodeEnhancedMetafile(whole).isNull());
    for (qsizetype size = 0; size < whole.size(); ++size) {
        EXPECT_TRUE(decodeEnhancedMetafile(whole.first(size)).isNull()) << "size " << size;
    }
}

// A record of `type` whose body is `body`, alone in a metafile.
QByteArray alone(std::uint32_t type, const ByteWriter& body) {
    return EmfWriter(64, 64).record(type, body.result()).finish();
}

TEST(EmfRefusalTest, filesThatDoNotHoldWhatTheySayAreRefused) {
    const QByteArray good = sampleMetafile();
    QByteArray signature = good;
    signature[41] = 'X';
    const QByteArray noEnd = good.chopped(20);
    std::vector<std::pair<std::string, QByteArray>> files = {
        {"no end record, the header agreeing", withField(TotalSize, noEnd.size(), noEnd)},
        // Counts beyond their record: points, figures whose counts do not
        // add up to the total, a string outside its text record.
        {"point count", alone(Emr::Polygon, ByteWriter().fill(16).u32le(0x0FFFFFFF).fill(16))},
        {"figure counts",
         alone(91, ByteWriter().fill(16).u32les({2, 4, 2, 3}).u16les({0, 0, 9, 9, 0, 9, 9, 0}))},
        {"string", alone(84, ByteWriter().fill(16).u32les({1, 0, 0, 5, 5, 1000, 76, 0x100, 0}))},
        {"signature", signature},
        {"total size", withField(TotalSize, good.size() + 1)},
        {"empty frame", withField(FrameRight, 0)},  // right edge at the left one
        {"short header", withField(4, 40)},
        {"nothing", QByteArray()},
        {"zeros", QByteArray(200, '\0')},
        {"a bitmap", QByteArray("BM") + QByteArray(100, '\x01')},
    };
    for (const std::uint32_t size : {0u, 4u, 7u, 8u, 0xFFFFFFF0u, 1u << 20}) {
        files.emplace_back("a record size of " + std::to_string(size),
                           withField(FirstRecord + 4, size));
    }
    for (const auto& [name, bytes] : files) {
        EXPECT_TRUE(decodeEnhancedMetafile(bytes).isNull()) << name;
    }
}

// A drawing has no pixel size of its own: a poster drawn at full size
// (here 40 m by 20 m) is drawn smaller, keeping its shape, not refused.
TEST(EmfRefusalTest, aFrameBeyondThePixelLimitIsDrawnSmaller) {
    const QImage picture =
        decodeEnhancedMetafile(withField(FrameBottom, 2'000'000, withField(FrameRight, 4'000'000)));
    ASSERT_FALSE(picture.isNull());
    // Within the rounding of one row and one column.
    EXPECT_LE(std::int64_t{picture.width()} * picture.height(),
              25'000'000 + picture.width() + picture.height());
    EXPECT_GT(std::int64_t{picture.width()} * picture.height(), 24'000'000);
    EXPECT_NEAR(picture.width(), 2 * picture.height(), 2);
}

// Gradients and antialiased edges are lighter than the plain shapes.
constexpr int InkGrey = 160;

// The picture of a metafile of `size` drawn by the records alone, ended.
QImage drawnBy(PlusRecords& plus, QSize size) {
    EmfWriter emf(size.width(), size.height());
    plus.add(0x4002, 0, {}).flushInto(emf);
    return decodeEnhancedMetafile(emf.finish());
}

TEST(EmfPlusRenderingTest, rectanglesPathsAndLinesOfObjectsAreDrawn) {
    PlusRecords plus;
    plus.add(0x400A, ColourFlag, fillRect(0, 0, 20, 20));
    plus.add(0x4008, BrushObject | 0, solidBrush(Blue));
    plus.add(0x4008, PathObject | 1, triangle());
    plus.add(0x4014, 1, words({0}));  // fill path 1 with brush 0
    plus.add(0x4008, PenObject | 2, words({0xDBC01002, 0, 0, 0}) + floats({4}) + solidBrush(Green));
    plus.add(0x400D, 2, words({2}) + floats({5, 75, 95, 75}));  // draw lines with pen 2
    const QImage picture = drawnBy(plus, QSize(100, 80));
    ASSERT_EQ(picture.size(), QSize(100, 80));
    expectProbes(picture,
                 probes(at(10, 10, Red), at(60, 50, Blue), at(30, 20, White), at(50, 75, Green)));
}

// A picture of 100 x 100 filled whole with the brush object's data.
QImage filledByBrush(const QByteArray& brush) {
    PlusRecords plus;
    plus.add(0x4008, BrushObject | 0, brush);
    plus.add(0x400A, 0, words({0, 1}) + floats({0, 0, 100, 100}));
    return drawnBy(plus, QSize(100, 100));
}

// A path gradient shades from its centre colour to its surrounding one.
TEST(EmfPlusRenderingTest, pathGradientsShadeFromTheCentreOut) {
    const QImage picture =
        filledByBrush(words({0xDBC01002, 3, 0, 0, Red}) + floats({50, 50}) + words({1, Blue, 4}) +
                      floats({0, 0, 100, 0, 100, 100, 0, 100}));
    ASSERT_FALSE(picture.isNull());
    EXPECT_GT(qRed(picture.pixel(50, 50)), 240);
    EXPECT_LT(qBlue(picture.pixel(50, 50)), 15);
    EXPECT_GT(qBlue(picture.pixel(3, 3)), 200);
    EXPECT_LT(qRed(picture.pixel(3, 3)), 55);
}

TEST(EmfPlusRenderingTest, pathGradientsBlendEachCornersColourAndPaintInsideAlone) {
    // A white centre; red, green, blue, and blue again for the fourth corner.
    const QImage picture =
        filledByBrush(words({0xDBC01002, 3, 0, 0, White}) + floats({50, 50}) +
                      words({3, Red, Green, Blue, 4}) + floats({10, 10, 90, 10, 90, 90, 10, 90}));
    ASSERT_FALSE(picture.isNull());
    const std::pair<QPoint, QRgb> blends[] = {
        {{13, 13}, Red},   {{86, 13}, Green},
        {{86, 86}, Blue},  {{13, 86}, Blue},
        {{50, 50}, White}, {{50, 12}, qRgb(128, 128, 0)},  // halfway between red and green
    };
    for (const auto& [point, colour] : blends) {
        EXPECT_TRUE(isNear(picture.pixel(point), colour, 39)) << point.x() << ", " << point.y();
    }
    // Outside the boundary: the page.
    expectProbes(picture, probes(at(5, 50, White), at(95, 95, White)));
}

TEST(EmfPlusRenderingTest, worldAndPageTransformsAndClipsApply) {
    PlusRecords plus;
    plus.add(0x402D, 0, floats({50, 40}));                 // translate the world
    plus.add(0x400A, ColourFlag, fillRect(0, 0, 10, 10));  // at 50, 40
    plus.add(0x402B, 0, {});                               // reset the world
    plus.add(0x4030, 4, floats({0.125f}));                 // pages in eighths of an inch
    plus.add(0x4032, 0, floats({0, 0, 1, 1}));             // clip to 12 x 12 pixels
    plus.add(0x400A, ColourFlag, fillRect(0, 0, 8, 8));    // the whole picture, clipped
    const QImage picture = drawnBy(plus, QSize(100, 80));
    expectProbes(picture, probes(at(55, 45, Red), at(45, 35, White), at(5, 5, Red),
                                 at(20, 20, White)));  // outside the clip
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
    dual.createBrush(1, 0, Blue).selectObject(1).rectangle(edges(10, 10, 30, 30));
    return dual.finish();
}

TEST(EmfPlusRenderingTest, dualFilesDrawTheirPlusRecordsAndGetDcHandsOver) {
    const QImage drawnByPlus = decodeEnhancedMetafile(dualFile());
    expectProbes(drawnByPlus, probes(at(20, 20, Red), at(60, 60, Red)));
    // Glyph numbers of a font the machine may lack, then a record of a
    // later GDI+: the plain copy is drawn.
    ByteWriter glyphNumbers;  // colour, no character lookup, no matrix, one glyph
    glyphNumbers.u32les({Blue, 0, 0, 1}).u16le(42).floats({20, 20});
    for (const auto& [type, data] :
         {std::pair{0x4036, glyphNumbers.result()}, std::pair{0x4039, words({0})}}) {
        const QImage plainCopy = decodeEnhancedMetafile(dualFile(type, data));
        expectProbes(plainCopy, probes(at(20, 20, Blue), at(60, 60, White)));
    }

    EmfWriter handed(100, 80);
    PlusRecords first;
    first.add(0x400A, ColourFlag, fillRect(0, 0, 50, 80)).add(0x4004, 0, {}).flushInto(handed);
    handed.createBrush(1, 0, Blue).selectObject(1).rectangle(edges(60, 10, 90, 30));
    PlusRecords().add(0x4002, 0, {}).flushInto(handed);
    const QImage both = decodeEnhancedMetafile(handed.finish());
    expectProbes(both, probes(at(20, 60, Red), at(75, 20, Blue)));
}

TEST(EmfPlusRenderingTest, stringsAndObjectsInPiecesAreDrawn) {
    PlusRecords plus;
    const QString family = QStringLiteral("DejaVu Sans");
    ByteWriter font;
    font.u32le(0xDBC01002).floats({30}).u32les({2, 0, 0, family.size()});
    for (const QChar character : family) {
        font.u16le(character.unicode());
    }
    plus.add(0x4008, FontObject | 0, font.result());
    ByteWriter text;
    text.u32les({Black, 0xFFFFFFFF, 4}).floats({10, 10, 180, 40}).u16les({'M', 'M', 'M', 'M'});
    plus.add(0x401C, ColourFlag | 0, text.result());  // draw string in font 0, black
    // A path object in two records, as large objects come.
    const QByteArray path = triangle();
    const QByteArray total = words({path.size()});
    plus.add(0x4008, 0x8000 | PathObject | 1, total + path.first(10));
    plus.add(0x4008, PathObject | 1, path.sliced(10));
    plus.add(0x4014, ColourFlag | 1, words({Blue}));
    // GDI+ keeps the flag on the last record too.
    plus.add(0x4008, 0x8000 | PathObject | 2, total + path.first(10));
    plus.add(0x4008, 0x8000 | PathObject | 2, total + path.sliced(10));
    plus.add(0x402D, 0, floats({200, 0}));
    plus.add(0x4014, ColourFlag | 2, words({Red}));
    const QImage picture = drawnBy(plus, QSize(300, 60));
    ASSERT_FALSE(picture.isNull());
    EXPECT_GT(inkIn(picture, QRect(10, 10, 120, 40), InkGrey), 100);
    EXPECT_EQ(inkIn(picture, QRect(150, 0, 50, 60), InkGrey), 0);  // the text stops in its box
    expectProbes(picture, probes(at(60, 50, Blue), at(260, 50, Red)));
}

// DrawImage data: any source rectangle, into the given destination.
QByteArray drawImage(float x, float y, float width, float height) {
    return words({0, 2}) + floats({0, 0, 1, 1}) + floats({x, y, width, height});
}

// A metafile of 40 x 40 whose left half is red.
QByteArray redLeftHalf() {
    EmfWriter inner(40, 40);
    inner.createBrush(1, 0, Red).selectObject(1).selectObject(NullPen);
    return inner.rectangle(edges(0, 0, 20, 40)).finish();
}

TEST(EmfPlusRenderingTest, metafileImagesAreDrawnOverWhatLiesUnderThem) {
    // A bitmap anded with the page: its black shows, its white lets the page through.
    QImage blackAndWhite(2, 1, QImage::Format_RGB32);
    blackAndWhite.setPixel(0, 0, Black);
    blackAndWhite.setPixel(1, 0, White);
    WmfWriter innerWmf(QRect(0, 0, 40, 40), 96);
    innerWmf.stretchDib(blackAndWhite, QRect(0, 0, 40, 20), 0x008800C6);

    // GDI+ pads the placeable header to 24 bytes and leaves it out of the size.
    QByteArray padded = innerWmf.finish();
    padded.insert(22, QByteArray(2, '\0'));
    const QByteArray gdiPlusWmf = words({0xDBC01002, 2, 2, padded.size() - 24}) + padded;

    PlusRecords plus;
    plus.add(0x400A, ColourFlag, words({Blue, 1}) + floats({0, 0, 150, 50}));
    plus.add(0x4008, ImageObject | 0, metafileImage(3, redLeftHalf()));
    plus.add(0x4008, ImageObject | 1, metafileImage(2, innerWmf.finish()));
    plus.add(0x4008, ImageObject | 2, gdiPlusWmf);
    plus.add(0x401A, 0, drawImage(0, 0, 50, 50));
    plus.add(0x401A, 1, drawImage(50, 0, 50, 50));
    plus.add(0x401A, 2, drawImage(100, 0, 50, 50));
    const QImage picture = drawnBy(plus, QSize(150, 50));
    ASSERT_EQ(picture.size(), QSize(150, 50));
    expectProbes(picture, probes(at(110, 10, Black), at(140, 10, Blue),
                                 at(10, 25, Red),    // scaled from 40 to 50 pixels
                                 at(40, 25, Blue),   // their own page is transparent
                                 at(60, 10, Black),  // a Windows metafile as well
                                 at(90, 10, Blue), at(60, 40, Blue)));  // below its bitmap
}

// Drawn at the size they take, their edges are as sharp as the page's own.
TEST(EmfPlusRenderingTest, metafileImagesAreDrawnAtTheSizeTheyTake) {
    PlusRecords plus;
    plus.add(0x400A, ColourFlag, words({Blue, 1}) + floats({0, 0, 320, 80}));
    plus.add(0x4008, ImageObject | 0, metafileImage(3, redLeftHalf()));
    plus.add(0x401A, 0, drawImage(0, 0, 320, 80));
    const QImage picture = drawnBy(plus, QSize(320, 80));
    ASSERT_EQ(picture.size(), QSize(320, 80));
    expectProbes(picture, probes(at(157, 40, Red), at(163, 40, Blue)));
}

TEST(EmfPlusRenderingTest, customLineCapsAreDrawnAtTheEndsOfOpenLines) {
    // An adjustable arrow 4 pen widths wide and long, filled.
    const QByteArray arrow = words({0xDBC01002, 1}) + floats({4, 4, 0}) + words({1, 0, 0, 0}) +
                             floats({10, 1, 0, 0, 0, 0});
    const QByteArray pen = words({0xDBC01002, 0, 0x1000, 0}) + floats({2}) + words({arrow.size()}) +
                           arrow + solidBrush(Blue);
    PlusRecords plus;
    plus.add(0x4008, PenObject | 0, pen);
    plus.add(0x400D, 0, words({2}) + floats({10, 40, 90, 40}));
    const QImage picture = drawnBy(plus, QSize(100, 80));
    expectProbes(picture,
                 probes(at(20, 40, Blue), at(84, 38, Blue),      // the arrow is wider than the line
                        at(20, 38, White), at(93, 40, White)));  // its tip is the line's end
    EXPECT_EQ(inkIn(picture, QRect(0, 30, 9, 20), InkGrey), 0);  // no cap at the start
}

TEST(EmfPlusRenderingTest, xorAndComplementClipsKeepTheirOwnParts) {
    const auto clipped = [](int mode) {
        PlusRecords plus;
        plus.add(0x4032, 0, floats({0, 0, 60, 20}));  // replace
        plus.add(0x4032, mode << 8, floats({40, 0, 60, 20}));
        plus.add(0x400A, ColourFlag, fillRect(0, 0, 100, 20));
        return drawnBy(plus, QSize(100, 20));
    };
    const QImage xored = clipped(3);
    expectProbes(xored, probes(at(20, 10, Red), at(50, 10, White), at(80, 10, Red)));
    const QImage complemented = clipped(5);  // the new area less the current one
    expectProbes(complemented, probes(at(20, 10, White), at(50, 10, White), at(80, 10, Red)));
}

constexpr int WmfNullPen = 5;

// A placeable file of 100 x 80 pixels whose logical units are pixels,
// with a null pen in slot 0.
WmfWriter placed(int width = 100, int height = 80) {
    WmfWriter wmf(QRect(0, 0, width, height), 96);
    wmf.createPen(WmfNullPen, 0, 0).selectObject(0);
    return wmf;
}

// A placeable file takes its box at 96 dots per inch; a plain one its
// window, fitted within 1024 pixels, or without a window its drawing.
TEST(WmfSizeTest, theBoxTheWindowOrTheDrawingGivesTheSize) {
    EXPECT_EQ(decodeWindowsMetafile(WmfWriter(QRect(0, 0, 1440, 720), 1440).finish()).size(),
              QSize(96, 48));
    for (const auto& [window, size] : {std::pair{QRect(0, 0, 300, 200), QSize(300, 200)},
                                       std::pair{QRect(0, 0, 20000, 10000), QSize(1024, 512)}}) {
        WmfWriter plain;
        plain.setWindow(window).rectangle(edges(0, 0, 9, 9));
        EXPECT_EQ(decodeWindowsMetafile(plain.finish()).size(), size);
    }
    WmfWriter drawing;
    drawing.createBrush(SolidBrush, Red).selectObject(0);
    drawing.rectangle(edges(50, 20, 150, 70));
    const QImage picture = decodeWindowsMetafile(drawing.finish());
    ASSERT_EQ(picture.size(), QSize(101, 51));
    EXPECT_EQ(picture.pixel(50, 25), Red);
}

// Objects take the lowest free slot: after the first brush is deleted,
// the third brush takes its slot and the second keeps its own.
TEST(WmfObjectsTest, aDeletedSlotIsTakenAgain) {
    WmfWriter wmf = placed();
    wmf.createBrush(SolidBrush, Red).createBrush(SolidBrush, Green);  // slots 1, 2
    wmf.deleteObject(1).createBrush(SolidBrush, Blue);                // slot 1 again
    wmf.selectObject(1).rectangle(edges(0, 0, 50, 80));
    wmf.selectObject(2).rectangle(edges(50, 0, 100, 80));
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    expectProbes(picture, probes(at(20, 40, Blue), at(80, 40, Green)));
}

TEST(WmfObjectsTest, aSelectedRegionClipsAndFillRegionFillsIt) {
    WmfWriter wmf = placed();
    wmf.createBrush(SolidBrush, Red).createRegion({QRect(10, 10, 30, 20)});  // slots 1, 2
    wmf.words(0x0228, {2, 1});  // FillRegion: region, brush
    wmf.createBrush(SolidBrush, Blue).createRegion({QRect(60, 40, 20, 20)});  // slots 3, 4
    wmf.selectObject(3).words(0x012C, {4});                                   // clip to slot 4
    wmf.rectangle(edges(0, 0, 100, 80));
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    expectProbes(picture, probes(at(20, 20, Red), at(70, 50, Blue), at(50, 50, White),
                                 at(20, 50, White)));  // outside the clip
}

TEST(WmfBitmapTest, aStretchedDibKeepsItsRowsTheRightWayUp) {
    WmfWriter wmf = placed();
    wmf.stretchDib(fourColours(), QRect(0, 0, 100, 80));
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    expectProbes(picture,
                 probes(at(20, 20, Red), at(80, 20, Green), at(20, 60, Blue), at(80, 60, White)));
}

// Text aligned to the current position starts where MoveTo left it and
// spreads its characters by the advances the record gives.
TEST(WmfTextTest, textFollowsTheCurrentPositionAndItsAdvances) {
    constexpr int UpdateCurrentPosition = 1;
    constexpr int Baseline = 24;
    WmfWriter wmf = placed(300, 60);
    wmf.createFont(-30, QStringLiteral("DejaVu Sans")).selectObject(1);
    wmf.words(0x012E, {UpdateCurrentPosition | Baseline});
    wmf.words(0x0102, {1});  // transparent background
    wmf.moveTo(QPoint(20, 45)).extTextOut(QPoint(0, 0), "III", {120, 120, 20});
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(inkIn(picture, QRect(0, 0, 15, 60)), 0);  // nothing before the position
    EXPECT_GT(inkIn(picture, QRect(15, 0, 30, 60)), 0);
    EXPECT_EQ(inkIn(picture, QRect(50, 0, 80, 60)), 0);  // the gap the advances leave
    EXPECT_GT(inkIn(picture, QRect(135, 0, 30, 60)), 0);
    EXPECT_GT(inkIn(picture, QRect(255, 0, 30, 60)), 0);
}

// A shape drawn in opaque mode once left Qt's background on for the
// text after it, drawn transparent: a black box came up around it.
TEST(WmfTextTest, transparentTextAfterAnOpaqueShapeHasNoBox) {
    constexpr int HatchedBrush = 2;
    WmfWriter wmf = placed(200, 60);
    wmf.record(0x0201, words({colorRef(0xFF000000)}));  // black background
    wmf.createBrush(HatchedBrush, Red, 0).selectObject(1);
    wmf.rectangle(edges(0, 0, 5, 5));
    wmf.words(0x0102, {1});  // transparent background
    wmf.createFont(-30, QStringLiteral("DejaVu Sans")).selectObject(2);
    wmf.extTextOut(QPoint(20, 10), "- -");
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    ASSERT_FALSE(picture.isNull());
    const int ink = inkIn(picture, QRect(20, 10, 100, 40));
    EXPECT_GT(ink, 0);
    EXPECT_LT(ink, 600);  // two dashes, not a filled box
}

// A one-unit dashed pen on a window far larger than the picture is thinner
// than a pixel; GDI draws it one pixel wide, so it must still show.
TEST(WmfPenTest, aPenThinnerThanAPixelStillShows) {
    constexpr int Dash = 1;
    WmfWriter wmf(QRect(0, 0, 1440, 144), 1440);  // 96 x 10 pixels
    wmf.createPen(Dash, 1, 0xFF000000).selectObject(0);
    wmf.moveTo(QPoint(0, 72)).lineTo(QPoint(1440, 72));
    const QImage picture = decodeWindowsMetafile(wmf.finish());
    ASSERT_EQ(picture.size(), QSize(96, 10));
    EXPECT_GT(inkIn(picture, picture.rect()), 10);
}

TEST(WmfRefusalTest, brokenFilesAreRefused) {
    WmfWriter wmf = placed();
    wmf.createBrush(SolidBrush, Red).selectObject(1).rectangle(QRect(0, 0, 50, 50));
    const QByteArray whole = wmf.finish();
    ASSERT_FALSE(decodeWindowsMetafile(whole).isNull());

    EXPECT_TRUE(decodeWindowsMetafile(whole.first(whole.size() - 10)).isNull());  // cut short
    QByteArray overrun = whole;
    overrun[22 + 18] = '\x7F';  // the first record claims more words than are left
    EXPECT_TRUE(decodeWindowsMetafile(overrun).isNull());
    QByteArray notMetafile = whole;
    notMetafile[22 + 2] = 5;  // a header of another size
    EXPECT_TRUE(decodeWindowsMetafile(notMetafile).isNull());
    EXPECT_TRUE(decodeWindowsMetafile(WmfWriter().finish()).isNull());  // nothing to size it by
}

TEST(WmfCharsetsTest, lettersOfTheFontsCodePage) {
    EXPECT_EQ(wmf::charsetText("\xE0\xFA", 177), QStringLiteral(u"\u05D0\u05EA"));  // Hebrew
    EXPECT_EQ(wmf::charsetText("\xC0\xFF", 204), QStringLiteral(u"\u0410\u044F"));  // Cyrillic
    EXPECT_EQ(wmf::charsetText("\xC1", 161), QStringLiteral(u"\u0391"));            // Greek
    EXPECT_EQ(wmf::charsetText("\x80\xE9", 0), QStringLiteral(u"\u20AC\u00E9"));    // Western
    EXPECT_EQ(wmf::charsetText("\x80", 177), QStringLiteral(u"\u20AC"));  // punctuation as Western
}

using emf::strokeInPieces;

constexpr int Side = 240;

QImage stroked(const QPainterPath& path, const QPen& pen, bool inPieces) {
    QImage picture(Side, Side, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    if (inPieces) {
        strokeInPieces(painter, path, pen);
    } else {
        painter.setPen(pen);
        painter.drawPath(path);
    }
    return picture;
}

// An open zigzag of right-angled turns, long enough to be drawn in pieces,
// and a closed outline with sharper corners.
QPainterPath figures() {
    QPainterPath path(QPointF(20, 60));
    for (int i = 1; i <= 10; ++i) {
        path.lineTo(20 + i * 20, i % 2 == 0 ? 60 : 20);
    }
    path.moveTo(40, 120);
    path.lineTo(200, 110);
    path.lineTo(180, 220);
    path.lineTo(120, 150);
    path.lineTo(60, 215);
    path.closeSubpath();
    return path;
}

TEST(EmfPiecewiseStrokeTest, piecesCoverWhatTheWholeStrokeCovers) {
    const QPainterPath path = figures();
    for (const Qt::PenJoinStyle join : {Qt::RoundJoin, Qt::BevelJoin, Qt::MiterJoin}) {
        for (const Qt::PenCapStyle cap : {Qt::FlatCap, Qt::SquareCap, Qt::RoundCap}) {
            QPen pen(QBrush(QColor(0, 60, 160)), 9, Qt::SolidLine, cap, join);
            pen.setMiterLimit(4);
            const QImage whole = stroked(path, pen, false);
            const QImage pieces = stroked(path, pen, true);
            const int inked =
                countPixels(whole, whole.rect(), [](QRgb pixel) { return pixel != White; });
            int differing = 0;
            for (int y = 0; y < Side; ++y) {
                for (int x = 0; x < Side; ++x) {
                    differing += isNear(whole.pixel(x, y), pieces.pixel(x, y), 64) ? 0 : 1;
                }
            }
            EXPECT_GT(inked, 3000);
            EXPECT_LT(differing, inked / 100) << "join " << join << ", cap " << cap;
        }
    }
}

}  // namespace

}  // namespace pictarium::test
