#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"
#include "window/description_box_p.h"
#include "window/display_box_p.h"

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QWheelEvent>

namespace pictarium::test {

class KeysTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<StartedWindow> mStarted;

    const StartedWindow& started() const { return *mStarted; }
    QTabWidget* tabs() const { return started().control<QTabWidget>("TabStrip1"); }
    DescriptionBox* descriptionBox() const {
        return started().control<DescriptionBox>("TextDescription");
    }

    // A key typed where the focus is, as the keyboard would: shortcuts
    // first, then the focused control.
    void press(QWidget* focus, QKeyCombination key) const {
        focus->setFocus();
        QTest::keyClick(focus, key.key(), key.keyboardModifiers());
    }

    QString position() const { return started().control<DisplayBox>("PicShow")->toolTip(); }

private slots:
    // Every test starts on the first record of a base of three, the window active.
    void init() {
        mFolder = std::make_unique<QTemporaryDir>();
        const QString base = mFolder->filePath(QStringLiteral("trois.bdp"));
        writeBase(base, {{plainPicture(100, 50, Qt::red), QStringLiteral("Pomme rouge")},
                         {plainPicture(60, 60, Qt::green), QStringLiteral("Herbe verte")},
                         {plainPicture(50, 100, Qt::blue), QStringLiteral("Ciel bleu")}});
        writeDefaultBase(mFolder->path(), base);
        mStarted = std::make_unique<StartedWindow>(mFolder->path());
        started().window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&started().window()));
    }

    void cleanup() { mStarted.reset(); }

    void browsingKeysWorkWhereverTheFocusIsButInTheDescription() {
        QWidget* tabStrip = tabs()->tabBar();
        QCOMPARE(position(), QStringLiteral("Enregistrement 1 sur 3"));
        press(tabStrip, Qt::Key_Right);
        QCOMPARE(started().description(), QStringLiteral("Herbe verte"));
        QCOMPARE(tabs()->currentIndex(), 0);  // the arrow browsed, not switched tabs
        QCOMPARE(position(), QStringLiteral("Enregistrement 2 sur 3"));
        press(started().control("Command1"), Qt::Key_PageDown);
        QCOMPARE(started().description(), QStringLiteral("Ciel bleu"));
        press(tabStrip, Qt::Key_Home);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
        press(tabStrip, Qt::Key_End);
        QCOMPARE(started().description(), QStringLiteral("Ciel bleu"));
        press(tabStrip, Qt::Key_Left);
        QCOMPARE(started().description(), QStringLiteral("Herbe verte"));
        press(tabStrip, Qt::Key_PageUp);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
        // At the first record the back button is off, and so is its key.
        press(tabStrip, Qt::Key_Left);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));

        // In the description box the arrows move the caret, nothing else.
        descriptionBox()->setFocus();
        press(descriptionBox(), Qt::Key_End);
        press(descriptionBox(), Qt::Key_Right);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
        QCOMPARE(position(), QStringLiteral("Enregistrement 1 sur 3"));
    }

    void tabKeysSwitchTabsAndTheOptionsTabDoesNotBrowse() {
        press(tabs()->tabBar(), Qt::CTRL | Qt::Key_Tab);
        QCOMPARE(tabs()->currentIndex(), 1);
        press(started().control("TextDbOpen"), Qt::Key_Right);
        press(started().control("TextDbOpen"), Qt::Key_End);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
        press(tabs()->tabBar(), Qt::CTRL | Qt::Key_PageUp);
        QCOMPARE(tabs()->currentIndex(), 0);
        press(tabs()->tabBar(), Qt::CTRL | Qt::Key_PageDown);
        QCOMPARE(tabs()->currentIndex(), 1);
    }

    void enterAndSpacePressAFocusedPictureButton() {
        press(started().control("Command3"), Qt::Key_Return);
        QCOMPARE(started().description(), QStringLiteral("Herbe verte"));
        press(started().control("Command3"), Qt::Key_Enter);
        QCOMPARE(started().description(), QStringLiteral("Ciel bleu"));
        press(started().control("Command9"), Qt::Key_Space);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
    }

    void shortcutsDoWhatTheirButtonsDo() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        press(tabs()->tabBar(), Qt::CTRL | Qt::Key_C);
        QCOMPARE(clipboard->image().size(), QSize(100, 50));

        // Searching takes the description box's text, as the buttons do.
        started().typeDescription(QStringLiteral("bleu"));
        press(tabs()->tabBar(), Qt::CTRL | Qt::Key_F);
        QCOMPARE(started().description(), QStringLiteral("Ciel bleu"));
        started().typeDescription(QStringLiteral("rouge"));
        press(tabs()->tabBar(), Qt::CTRL | Qt::SHIFT | Qt::Key_F);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));

        // Ctrl+V adds the clipboard's picture, as "Coller" does.
        started().typeDescription(QStringLiteral("Copie"));
        QTRY_VERIFY_WITH_TIMEOUT(started().enabled("Command14"), 5000);
        press(tabs()->tabBar(), Qt::CTRL | Qt::Key_V);
        QCOMPARE(position(), QStringLiteral("Enregistrement 4 sur 4"));
        QCOMPARE(started().window().engine()->recordCount(), 4);

        // Ctrl+O asks for a base from either tab.
        started().dialog().cancel();
        press(tabs()->tabBar(), Qt::CTRL | Qt::Key_O);
        QCOMPARE(started().dialog().shownBoxes.size(), std::size_t{1});
        QCOMPARE(started().dialog().shownBoxes.back().title,
                 QStringLiteral("Ouvrir une base de données..."));
    }

    void theWheelOverThePictureBrowses() {
        auto* display = started().control<DisplayBox>("PicShow");
        const auto turn = [display](int delta) {
            const QPointF inside(20, 20);
            QWheelEvent wheel(inside, display->mapToGlobal(inside), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(display, &wheel);
        };
        turn(-120);
        QCOMPARE(started().description(), QStringLiteral("Herbe verte"));
        turn(120);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
    }

    void contextHelpOpensAtTheControlsTopic() {
        press(tabs()->tabBar(), Qt::Key_F1);
        auto* help = started().control<QDialog>("HelpWindow");
        QVERIFY(help != nullptr && help->isVisible());
        auto* text = help->findChild<QTextBrowser*>(QStringLiteral("HelpText"));
        QCOMPARE(text->verticalScrollBar()->value(), 0);
        help->hide();

        // What's-This on the close button: its section is near the end.
        QHelpEvent whatsThis(QEvent::WhatsThis, QPoint(2, 2), QPoint(2, 2));
        QCoreApplication::sendEvent(started().control("Command13"), &whatsThis);
        QVERIFY(help->isVisible());
        QVERIFY(text->verticalScrollBar()->value() > 0);
    }

    void pictureButtonsHaveNamesForScreenReaders() {
        for (QToolButton* button : started().window().findChildren<QToolButton*>()) {
            QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
        }
        QCOMPARE(started().control("Command3")->accessibleName(),
                 started().control("Command3")->toolTip());
    }
};

}  // namespace pictarium::test

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::KeysTest)
#include "keys_test.moc"
