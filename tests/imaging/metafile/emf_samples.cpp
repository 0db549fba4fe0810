#include "tests/imaging/metafile/emf_samples.h"

#include "tests/imaging/metafile/emf_writer.h"
#include "tests/imaging/metafile/emfplus_records.h"

#include <QImage>

namespace pictarium::test {

namespace {

constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Blue = 0xFF0000FF;

EmfWriter withBrush(QRgb colour, int style = 0, int hatch = 0) {
    EmfWriter emf(120, 80);
    emf.createPen(1, 0, 2, 0xFF000000).selectObject(1);
    emf.createBrush(2, style, colour, hatch).selectObject(2);
    return emf;
}

QByteArray polygon() {
    return withBrush(Red).points(Emr::Polygon, {{10, 70}, {60, 5}, {110, 70}}, false).finish();
}

QByteArray bezierPath() {
    EmfWriter emf = withBrush(Blue);
    emf.bare(Emr::BeginPath).moveTo({10, 70});
    emf.points(Emr::PolyBezierTo, {{10, 0}, {110, 0}, {110, 70}}, false);
    emf.bare(Emr::CloseFigure).bare(Emr::EndPath).bare(Emr::StrokeAndFillPath);
    return emf.finish();
}

QByteArray hatchedRectangle() {
    constexpr int Cross = 4;
    EmfWriter emf = withBrush(Red, 2, Cross);
    return emf.rectangle(edges(10, 10, 110, 70)).finish();
}

QByteArray text() {
    constexpr std::uint8_t VariableSwiss = 0x22;
    EmfWriter emf(120, 80);
    emf.createFont(1, -24, QStringLiteral("Arial")).selectObject(1).setTextColour(Blue);
    emf.textOut({8, 20}, QStringLiteral("Texte é"));
    // Narrowed glyphs given by their numbers in the face.
    emf.createFont(2, -20, QStringLiteral("DejaVu Sans"), 6, VariableSwiss).selectObject(2);
    const QString glyphs = QStringLiteral("\u002B\u0048\u004F\u004F\u0052");
    return emf.textOut({8, 50}, glyphs, GlyphIndexText).finish();
}

QByteArray bitmap() {
    QImage picture(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            picture.setPixel(x, y, qRgb(x * 80, y * 80, 200));
        }
    }
    return EmfWriter(120, 80).stretchDib(QRect(10, 10, 100, 60), picture).finish();
}

QByteArray worldTransform() {
    EmfWriter emf = withBrush(Blue);
    emf.setWorldTransform({0.866f, 0.5f, -0.5f, 0.866f, 60, 10});
    return emf.rectangle(edges(0, 0, 50, 30)).finish();
}

// Drawn by EMF+ records alone: objects, a transform, a clip, a string.
QByteArray plusRecords() {
    EmfWriter emf(120, 80);
    PlusRecords plus;
    plus.add(0x4008, BrushObject | 0, solidBrush(Blue));
    plus.add(0x4008, PathObject | 1, triangle());
    plus.add(0x4008, PenObject | 2, words({0xDBC01002, 0, 0, 0}) + floats({3}) + solidBrush(Red));
    plus.add(0x4014, 1, words({0}));
    plus.add(0x4015, 1, words({2}));
    plus.add(0x402F, 0, floats({15}));
    plus.add(0x4032, 1 << 8, floats({0, 0, 60, 60}));
    plus.add(0x400A, ColourFlag, fillRect(5, 5, 30, 20));
    plus.add(0x4004, 0, {});
    plus.flushInto(emf);
    emf.createBrush(1, 0, Blue).selectObject(1).ellipse(edges(80, 40, 110, 70));
    PlusRecords end;
    end.add(0x4002, 0, {});
    end.flushInto(emf);
    return emf.finish();
}

}  // namespace

QList<EmfSample> emfSamplesOfEveryKind() {
    return {
        {QStringLiteral("polygon.emf"), polygon()},
        {QStringLiteral("bezier.emf"), bezierPath()},
        {QStringLiteral("hatched.emf"), hatchedRectangle()},
        {QStringLiteral("text.emf"), text()},
        {QStringLiteral("bitmap.emf"), bitmap()},
        {QStringLiteral("transform.emf"), worldTransform()},
        {QStringLiteral("plus-records.emf"), plusRecords()},
    };
}

}  // namespace pictarium::test
