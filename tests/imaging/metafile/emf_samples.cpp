#include "tests/imaging/metafile/emf_samples.h"

#include "tests/imaging/metafile/emf_writer.h"
#include "tests/imaging/metafile/emfplus_records.h"
#include "tests/imaging/metafile/wmf_writer.h"

#include <QImage>

namespace pictarium::test {

namespace {

constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Green = 0xFF00FF00;
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
    return emf.rectangle(QRect(QPoint(10, 10), QPoint(110, 70))).finish();
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
    return emf.rectangle(QRect(QPoint(0, 0), QPoint(50, 30))).finish();
}

ByteWriter boundsThen() {
    return std::move(ByteWriter().fill(16));
}

ByteWriter& region(ByteWriter& out, const QList<QRect>& rectangles) {
    out.u32le(32).u32le(1).u32le(static_cast<std::uint32_t>(rectangles.size()));
    out.u32le(static_cast<std::uint32_t>(16 * rectangles.size())).fill(16);
    for (const QRect& box : rectangles) {
        out.u32le(box.left()).u32le(box.top()).u32le(box.right()).u32le(box.bottom());
    }
    return out;
}

// The less common shapes, path operations and clipping, for the fuzzer
// to start from.
QByteArray shapesAndClipping() {
    constexpr int Anisotropic = 8;
    EmfWriter emf(120, 80);
    emf.setMapMode(Anisotropic).setWindowExtent(240, 160).setViewportExtent(120, 80);
    emf.record(95, ByteWriter()
                       .u32le(1)
                       .fill(16)
                       .u32le(0x10007)
                       .u32le(3)
                       .u32le(0)
                       .u32le(0xFF)
                       .u32le(0)
                       .u32le(2)
                       .u32le(6)
                       .u32le(4)
                       .result());  // geometric user-style pen
    emf.selectObject(1).createBrush(2, 2, 0xFF00FF00, 5).selectObject(2);
    emf.record(44, ByteWriter().u32le(4).u32le(4).u32le(80).u32le(60).u32le(20).u32le(20).result());
    emf.record(46, ByteWriter()
                       .u32le(90)
                       .u32le(4)
                       .u32le(150)
                       .u32le(60)
                       .u32le(150)
                       .u32le(30)
                       .u32le(90)
                       .u32le(30)
                       .result());                   // chord
    emf.record(57, ByteWriter().u32le(2).result());  // clockwise arcs
    emf.record(55, ByteWriter()
                       .u32le(160)
                       .u32le(4)
                       .u32le(230)
                       .u32le(60)
                       .u32le(230)
                       .u32le(4)
                       .u32le(160)
                       .u32le(60)
                       .result());  // arc to
    emf.record(41, ByteWriter().u32le(40).u32le(120).u32le(30).u32le(0).u32le(0x43340000).result());
    emf.record(92, boundsThen()
                       .u32le(4)
                       .u16le(10)
                       .u16le(150)
                       .u16le(60)
                       .u16le(100)
                       .u16le(110)
                       .u16le(150)
                       .u16le(200)
                       .u16le(100)
                       .u8(6)
                       .u8(2)
                       .u8(4)
                       .u8(5)
                       .result());
    emf.bare(Emr::BeginPath).ellipse(QRect(QPoint(120, 70), QPoint(230, 150)));
    emf.bare(Emr::EndPath).bare(66).bare(65);        // widen, flatten
    emf.record(67, ByteWriter().u32le(1).result());  // clip to the path
    ByteWriter clip;
    clip.u32le(64).u32le(2);  // region size, or-ed in
    emf.record(75, region(clip, {QRect(QPoint(0, 0), QPoint(60, 40)),
                                 QRect(QPoint(100, 0), QPoint(120, 20))})
                       .result());
    emf.record(26, ByteWriter().u32le(4).u32le(2).result());  // offset clip
    ByteWriter fill = boundsThen();
    fill.u32le(48).u32le(0x80000004);
    emf.record(71, region(fill, {QRect(QPoint(180, 10), QPoint(230, 40))}).result());
    emf.record(75, ByteWriter().u32le(0).u32le(5).result());  // back to no clip
    ByteWriter paint = boundsThen();
    paint.u32le(48);
    emf.record(74, region(paint, {QRect(QPoint(5, 130), QPoint(30, 155))}).result());
    emf.record(15, ByteWriter().u32le(235).u32le(155).u32le(0xFF).result());  // a pixel
    emf.deleteObject(1).deleteObject(2);
    return emf.finish();
}

// Bitmaps, gradients and narrow text with advances.
QByteArray rasterAndText() {
    EmfWriter emf(120, 80);
    // A 2 x 2 pattern brush from a 32-bit DIB.
    ByteWriter brush;
    brush.u32le(1).u32le(0).u32le(32).u32le(40).u32le(72).u32le(16);
    brush.u32le(40).u32le(2).u32le(2).u16le(1).u16le(32).fill(24);
    brush.u32le(0xFF0000FF).u32le(0xFFFFFFFF).u32le(0xFFFFFFFF).u32le(0xFF0000FF);
    emf.record(94, brush.result()).selectObject(1);
    ByteWriter patternBlit = boundsThen();
    patternBlit.u32le(0).u32le(0).u32le(40).u32le(30).u32le(0x00F00021).u32le(0).u32le(0);
    patternBlit.fill(24).u32le(0).u32le(0).u32le(0).u32le(0).u32le(0).u32le(0);
    emf.record(76, patternBlit.result());
    // Half-transparent 2 x 1 pixels, blended.
    ByteWriter blend = boundsThen();
    blend.u32le(40).u32le(0).u32le(40).u32le(30).u32le(0x01FF0000).u32le(0).u32le(0).fill(24);
    blend.u32le(0).u32le(0).u32le(108).u32le(40).u32le(148).u32le(8).u32le(2).u32le(1);
    blend.u32le(40).u32le(2).u32le(1).u16le(1).u16le(32).fill(24);
    blend.u32le(0x80800000).u32le(0x40004000);
    emf.record(114, blend.result());
    ByteWriter gradient = boundsThen();
    gradient.u32le(3).u32le(1).u32le(2);  // vertices, triangles, triangle mode
    gradient.u32le(80).u32le(0).u16le(0xFF00).u16le(0).u16le(0).u16le(0);
    gradient.u32le(120).u32le(0).u16le(0).u16le(0xFF00).u16le(0).u16le(0);
    gradient.u32le(100).u32le(30).u16le(0).u16le(0).u16le(0xFF00).u16le(0);
    gradient.u32le(0).u32le(1).u32le(2);
    emf.record(118, gradient.result());
    ByteWriter narrow = boundsThen();
    narrow.u32le(1).u32le(0).u32le(0).u32le(4).u32le(40);  // mode, scales, reference
    narrow.u32le(3).u32le(60).u32le(0x100).u32le(64);      // no rectangle
    narrow.bytes("Abc").u8(0).u32le(12).u32le(12).u32le(12);
    emf.setTextAlign(24).setBackgroundColour(0xFFFFFF00).record(83, narrow.result());
    return emf.finish();
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
    emf.createBrush(1, 0, Blue).selectObject(1).ellipse(QRect(QPoint(80, 40), QPoint(110, 70)));
    PlusRecords end;
    end.add(0x4002, 0, {});
    end.flushInto(emf);
    return emf.finish();
}

// EMF+ images: metafiles of both kinds, a texture placed by its own
// matrix, a path gradient of several colours, and a clip made by xor.
QByteArray plusImages() {
    const auto metafileImage = [](std::uint32_t kind, const QByteArray& metafile) {
        return words({0xDBC01002, 2, kind, static_cast<std::uint32_t>(metafile.size())}) + metafile;
    };
    WmfWriter wmf(QRect(0, 0, 40, 40), 96);
    wmf.createBrush(0, Red).selectObject(0).rectangle(QRect(QPoint(5, 5), QPoint(30, 30)));
    const QByteArray pixels = words({Red, Blue, Blue, Red});
    const QByteArray bitmap = words({0xDBC01002, 1, 2, 2, 8, 0x00022009, 0}) + pixels;

    EmfWriter emf(120, 80);
    PlusRecords plus;
    plus.add(0x4008, ImageObject | 0, metafileImage(3, polygon()));
    plus.add(0x4008, ImageObject | 1, metafileImage(2, wmf.finish()));
    plus.add(0x401A, 0, words({0, 2}) + floats({0, 0, 1, 1, 0, 0, 40, 40}));
    plus.add(0x401B, 1,
             words({0, 2}) + floats({0, 0, 1, 1}) + words({3}) + floats({45, 0, 75, 8, 45, 35}));
    plus.add(0x4008, BrushObject | 2,
             words({0xDBC01002, 2, 2, 0}) + floats({4, 0, 0, 4, 0, 0}) + bitmap);
    plus.add(0x400A, 0, words({2, 1}) + floats({85, 0, 35, 40}));
    ByteWriter gradient;
    gradient.bytes(words({0xDBC01002, 3, 0, 0, 0xFFFFFFFF})).bytes(floats({30, 60}));
    gradient.bytes(words({3, Red, Green, Blue, 3})).bytes(floats({0, 40, 60, 40, 30, 80}));
    plus.add(0x4008, BrushObject | 3, gradient.result());
    plus.add(0x4032, 0, floats({0, 40, 80, 40}));
    plus.add(0x4032, 3 << 8, floats({40, 40, 80, 40}));
    plus.add(0x400A, 0, words({3, 1}) + floats({0, 40, 120, 40}));
    plus.add(0x4002, 0, {});
    plus.flushInto(emf);
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
        {QStringLiteral("shapes.emf"), shapesAndClipping()},
        {QStringLiteral("raster.emf"), rasterAndText()},
        {QStringLiteral("plus-records.emf"), plusRecords()},
        {QStringLiteral("plus-images.emf"), plusImages()},
    };
}

}  // namespace pictarium::test
