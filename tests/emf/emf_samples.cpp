#include "emf_samples.h"

#include "emf_writer.h"

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
    return emf.rectangle(QRect(QPoint(10, 10), QPoint(110, 70))).finish();
}

QByteArray text() {
    EmfWriter emf(120, 80);
    emf.createFont(1, -24, QStringLiteral("Arial")).selectObject(1).setTextColour(Blue);
    return emf.textOut({8, 20}, QStringLiteral("Texte é")).finish();
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

}  // namespace

QList<EmfSample> emfSamplesOfEveryKind() {
    return {
        {QStringLiteral("polygon.emf"), polygon()},
        {QStringLiteral("bezier.emf"), bezierPath()},
        {QStringLiteral("hatched.emf"), hatchedRectangle()},
        {QStringLiteral("text.emf"), text()},
        {QStringLiteral("bitmap.emf"), bitmap()},
        {QStringLiteral("transform.emf"), worldTransform()},
    };
}

}  // namespace pictarium::test
