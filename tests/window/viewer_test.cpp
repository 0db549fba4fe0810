#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"
#include "window/picture_holder_p.h"
#include "window/picture_view_p.h"
#include "window/viewer_window_p.h"

#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace pictarium::test {

namespace {

// A picture whose every pixel tells where it is.
QImage mapPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
        }
    }
    return picture;
}

// One-pixel black and white squares.
QImage finestChecker(int size) {
    QImage picture(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            picture.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return picture;
}

}  // namespace

// The viewer: its zoom, its drawing and its browsing through the main window.
class ViewerTest : public QObject {
    Q_OBJECT

private:
    // A view of 400 x 300 showing `picture`.
    static std::unique_ptr<PictureView> shownIn(const QImage& picture) {
        auto view = std::make_unique<PictureView>(nullptr);
        view->resize(400, 300);
        view->show();
        view->setPicture(picture);
        return view;
    }

    static QImage drawn(const PictureView& view) { return view.viewport()->grab().toImage(); }

private slots:
    void fittingNeverEnlargesAndOneShowsEveryPixel_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("fitted");
        QTest::newRow("larger than the view") << QSize(1600, 600) << 0.25;
        QTest::newRow("taller than the view") << QSize(300, 600) << 0.5;
        QTest::newRow("smaller than the view") << QSize(80, 60) << 1.0;
    }

    void fittingNeverEnlargesAndOneShowsEveryPixel() {
        QFETCH(QSize, size);
        QFETCH(double, fitted);
        const auto view = shownIn(mapPicture(size.width(), size.height()));
        QCOMPARE(view->zoom(), fitted);
        if (fitted == 1.0) {
            // Centred: the view's middle shows the picture's middle.
            QCOMPARE(drawn(*view).pixel(200, 150),
                     mapPicture(size.width(), size.height()).pixel(40, 30));
        }
        view->showActualSize();
        QCOMPARE(view->zoom(), 1.0);
        QVERIFY(!view->fitting());
        QCoreApplication::processEvents();
        view->fitToView();
        QCOMPARE(view->zoom(), fitted);
        // The bars of the larger zoom go with it.
        QCOMPARE(view->horizontalScrollBar()->maximum() + view->verticalScrollBar()->maximum(), 0);
    }

    void zoomKeepsThePointUnderThePointer_data() {
        QTest::addColumn<double>("factor");
        QTest::addColumn<QPoint>("anchor");
        QTest::newRow("in, off centre") << 2.0 << QPoint(90, 70);
        QTest::newRow("further in") << 8.0 << QPoint(310, 220);
        QTest::newRow("out again") << 0.5 << QPoint(200, 150);
    }

    void zoomKeepsThePointUnderThePointer() {
        QFETCH(double, factor);
        QFETCH(QPoint, anchor);
        const auto view = shownIn(mapPicture(1000, 800));
        view->showActualSize();
        view->zoomBy(2.0, QPointF(200, 150));
        const QRgb before = drawn(*view).pixel(anchor);
        view->zoomBy(factor, QPointF(anchor));
        QCOMPARE(view->zoom(), 2.0 * factor);
        QCOMPARE(drawn(*view).pixel(anchor), before);
    }

    // Zoomed out, the finest detail averages to grey instead of aliasing;
    // zoomed in, each pixel is a sharp square.
    void zoomedOutIsSmoothAndZoomedInIsSharp() {
        const auto view = shownIn(finestChecker(1200));
        QCOMPARE(view->zoom(), 0.25);
        const QImage out = drawn(*view);
        for (const QPoint spot : {QPoint(100, 100), QPoint(201, 57), QPoint(260, 290)}) {
            QVERIFY2(qAbs(qGray(out.pixel(spot)) - 128) < 20,
                     qPrintable(QString::number(qGray(out.pixel(spot)))));
        }
        view->showActualSize();
        view->zoomBy(4.0, QPointF(200, 150));
        const QImage in = drawn(*view);
        for (const QPoint spot : {QPoint(10, 10), QPoint(211, 157), QPoint(393, 297)}) {
            QVERIFY(qGray(in.pixel(spot)) == 0 || qGray(in.pixel(spot)) == 255);
        }
    }

    // The viewer shows the main window's record and browses through it.
    void theViewerFollowsTheMainWindow() {
        const QTemporaryDir folder;
        writeDefaultAlbum(folder.path(),
                          {{plainPicture(100, 50, Qt::red), QStringLiteral("Pomme rouge")},
                           {plainPicture(650, 200, Qt::green), QStringLiteral("Herbe verte")},
                           {plainPicture(200, 400, Qt::blue), QStringLiteral("Ciel bleu")}});
        const StartedWindow started(folder.path());
        started.window().findChild<QAction*>(QStringLiteral("ShowViewer"))->trigger();
        auto* viewer = started.control<ViewerWindow>("ViewerWindow");
        QVERIFY(viewer != nullptr && viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Visionneuse – album.bdp"));
        const auto step = [&](const char* action) {
            viewer->findChild<QAction*>(QString::fromLatin1(action))->trigger();
            return std::make_pair(viewer->findChild<QLabel*>("ViewerDescription")->text(),
                                  viewer->findChild<QLabel*>("ViewerPosition")->text());
        };
        using Shown = std::pair<QString, QString>;
        QCOMPARE(step("ViewerNext"), Shown("Herbe verte", "2 / 3"));
        QCOMPARE(started.description(), QStringLiteral("Herbe verte"));
        QCOMPARE(viewer->view().picture().pixelColor(0, 0), QColor(Qt::green));
        const QStringList ends{"Command2", "Command3", "Command9", "Command10"};
        QCOMPARE(step("ViewerLast"), Shown("Ciel bleu", "3 / 3"));
        QCOMPARE(started.enabledAmong(ends), (QStringList{"Command2", "Command9"}));
        QCOMPARE(step("ViewerNext"), Shown("Ciel bleu", "3 / 3"));
        QCOMPARE(step("ViewerPrevious"), Shown("Herbe verte", "2 / 3"));
        QCOMPARE(step("ViewerFirst"), Shown("Pomme rouge", "1 / 3"));
        QCOMPARE(started.enabledAmong(ends), (QStringList{"Command3", "Command10"}));
        // The picture the window holds, shared rather than copied.
        QCOMPARE(viewer->view().picture().cacheKey(),
                 started.control<PictureHolder>("PicLoad")->picture().cacheKey());
        started.click("Command6");
        QCOMPARE(step("ViewerFit"), Shown("Herbe verte", "1 / 2"));
        step("ViewerClose");
        QVERIFY(!viewer->isVisible());
    }
};

}  // namespace pictarium::test

#include "viewer_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::ViewerTest)
