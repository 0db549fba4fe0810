#include "tests/window/window_test_main.h"
#include "window/display_geometry_p.h"

#include <QTest>

namespace pictarium::test {

class DisplayGeometryTest : public QObject {
    Q_OBJECT

private slots:
    void fitsPictureIntoBox_data() {
        QTest::addColumn<int>("picW");
        QTest::addColumn<int>("picH");
        QTest::addColumn<int>("boxW");
        QTest::addColumn<int>("boxH");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("smaller: never enlarged")
            << 100 << 50 << 325 << 181 << QRect(112, 65, 100, 50);
        QTest::newRow("wide: width ratio") << 650 << 200 << 325 << 181 << QRect(0, 40, 325, 100);
        QTest::newRow("tall: ties go to even")
            << 200 << 400 << 325 << 181 << QRect(117, 0, 90, 181);
        QTest::newRow("exactly the box") << 325 << 181 << 325 << 181 << QRect(0, 0, 325, 181);
        QTest::newRow("one pixel too wide") << 326 << 100 << 325 << 181 << QRect(0, 40, 325, 100);
        QTest::newRow("odd free space: extra pixel right")
            << 100 << 50 << 326 << 181 << QRect(113, 65, 100, 50);
        QTest::newRow("zero width that fits") << 0 << 50 << 325 << 181 << QRect(162, 65, 0, 50);
        QTest::newRow("zero width too tall: natural size")
            << 0 << 400 << 325 << 181 << QRect(162, -109, 0, 400);
    }

    void fitsPictureIntoBox() {
        QFETCH(int, picW);
        QFETCH(int, picH);
        QFETCH(int, boxW);
        QFETCH(int, boxH);
        QFETCH(QRect, drawn);
        int offX = 0;
        int offY = 0;
        FitPicture(picW, picH, boxW, boxH, offX, offY);
        QCOMPARE(QRect(offX, offY, boxW, boxH), drawn);
    }

    void keepsOffsetsBelowZero() {
        int boxW = 325;
        int boxH = 181;
        int offX = -1;
        int offY = -5;
        FitPicture(650, 200, boxW, boxH, offX, offY);
        QCOMPARE(QRect(offX, offY, boxW, boxH), QRect(-1, -5, 325, 100));
    }

    void himetricGivesPixelsBack_data() {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("himetric");
        QTest::newRow("96 dpi") << 100 << 96.0 << 2646;
        QTest::newRow("120 dpi") << 1000 << 120.0 << 21167;
        QTest::newRow("one pixel") << 1 << 96.0 << 26;
    }

    void himetricGivesPixelsBack() {
        QFETCH(int, pixels);
        QFETCH(double, dpi);
        QFETCH(int, himetric);
        QCOMPARE(pixelsToHimetric(pixels, dpi), himetric);
        QCOMPARE(himetricToPixels(himetric, dpi), pixels);
    }
};

}  // namespace pictarium::test

#include "display_geometry_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::DisplayGeometryTest)
