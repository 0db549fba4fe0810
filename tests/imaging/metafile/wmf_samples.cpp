#include "tests/imaging/metafile/wmf_samples.h"

#include "tests/imaging/metafile/wmf_writer.h"

namespace pictarium::test {

namespace {

constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Blue = 0xFF0000FF;
constexpr QRgb Black = 0xFF000000;

WmfWriter outlined(QRgb fill) {
    WmfWriter wmf(QRect(0, 0, 1200, 800), 1000);
    wmf.setWindow(QRect(0, 0, 1200, 800));
    wmf.createPen(0, 10, Black).selectObject(0);
    wmf.createBrush(0, fill).selectObject(1);
    return wmf;
}

QByteArray shapes() {
    WmfWriter wmf = outlined(Red);
    wmf.rectangle(QRect(QPoint(50, 50), QPoint(300, 200)));
    wmf.words(0x0418, {400, 600, 250, 350});                        // Ellipse
    wmf.words(0x061C, {40, 40, 750, 300, 450, 50});                 // RoundRect
    wmf.words(0x0817, {700, 1100, 500, 700, 750, 1150, 450, 650});  // Arc
    wmf.words(0x081A, {300, 1150, 100, 900, 350, 1150, 50, 700});   // Pie
    wmf.words(0x0830, {600, 400, 450, 600, 750, 650, 450, 350});    // Chord
    wmf.words(0x0324, {3, 700, 400, 800, 300, 900, 400});           // Polygon
    wmf.words(0x0325, {3, 50, 780, 600, 700, 1150, 780});           // Polyline
    wmf.words(0x0538, {2, 3, 3, 950, 500, 1050, 500, 1000, 600, 950, 650, 1050, 650, 1000, 750});
    wmf.moveTo(QPoint(10, 10)).lineTo(QPoint(1190, 10));
    return wmf.finish();
}

QByteArray text() {
    constexpr int HebrewCharset = 177;
    WmfWriter wmf = outlined(Blue);
    wmf.createFont(-120, QStringLiteral("DejaVu Sans")).selectObject(2);
    wmf.words(0x0209, {0, 0});  // black text
    wmf.extTextOut(QPoint(50, 100), "Pictarium", {70, 70, 70, 70, 70, 70, 70, 70, 70});
    wmf.createFont(-120, QStringLiteral("DejaVu Sans"), HebrewCharset).selectObject(3);
    wmf.words(0x012E, {1 | 24})
        .moveTo(QPoint(50, 500))
        .extTextOut(QPoint(0, 0), "\xF9\xEC\xE5\xED");
    return wmf.finish();
}

QByteArray clipRegion() {
    WmfWriter wmf = outlined(Red);
    wmf.createRegion({QRect(100, 100, 400, 300), QRect(100, 450, 900, 200)});
    wmf.selectObject(2).rectangle(QRect(QPoint(0, 0), QPoint(1200, 800)));
    wmf.words(0x012C, {0xFFFF}).words(0x0416, {700, 1100, 50, 600});    // reset, intersect
    wmf.createBrush(2, Blue, 3).selectObject(3).words(0x0228, {2, 3});  // hatched region fill
    return wmf.finish();
}

QByteArray stretchedBitmap() {
    QImage picture(8, 6, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y, qRgb(x * 32, y * 40, 128));
        }
    }
    WmfWriter wmf = outlined(Red);
    wmf.stretchDib(picture, QRect(100, 100, 1000, 600));
    wmf.words(0x061D, {0x0021, 0x00F0, 100, 200, 650, 500});  // PatBlt with the brush
    return wmf.finish();
}

QByteArray withoutWindow() {
    WmfWriter wmf;
    wmf.createPen(0, 2, Black).selectObject(0);
    wmf.createBrush(0, Blue).selectObject(1);
    wmf.words(0x0324, {4, 10, 10, 200, 20, 180, 120, 20, 100});
    wmf.words(0x0106, {2});  // winding fill
    wmf.words(0x0104, {7});  // exclusive-or pen
    wmf.rectangle(QRect(QPoint(50, 40), QPoint(150, 90)));
    return wmf.finish();
}

}  // namespace

QList<EmfSample> wmfSamplesOfEveryKind() {
    return {
        {QStringLiteral("shapes.wmf"), shapes()},
        {QStringLiteral("text.wmf"), text()},
        {QStringLiteral("clip-region.wmf"), clipRegion()},
        {QStringLiteral("stretched-bitmap.wmf"), stretchedBitmap()},
        {QStringLiteral("without-window.wmf"), withoutWindow()},
    };
}

}  // namespace pictarium::test
