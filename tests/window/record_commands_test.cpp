#include "engine/engine_texts.h"
#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"
#include "window/display_box_p.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWheelEvent>

namespace pictarium::test {

namespace {

const QStringList BrowseButtons = {QStringLiteral("Command2"),  QStringLiteral("Command3"),
                                   QStringLiteral("Command7"),  QStringLiteral("Command9"),
                                   QStringLiteral("Command10"), QStringLiteral("Command11")};

const QStringList Backwards = {QStringLiteral("Command2"), QStringLiteral("Command7"),
                               QStringLiteral("Command9")};
const QStringList Forwards = {QStringLiteral("Command3"), QStringLiteral("Command10"),
                              QStringLiteral("Command11")};

const QStringList Descriptions = {QStringLiteral("Pomme rouge"), QStringLiteral("Herbe verte"),
                                  QStringLiteral("Ciel bleu")};

// A click on a button, or a key typed on a control (the tab strip when
// none is named), and the record (from 1) and tab on show after it.
struct Step {
    const char* control;
    QKeyCombination key;
    int record;
    int tab;
};
constexpr QKeyCombination Click = Qt::Key_unknown;

}  // namespace

// The commands on a record, from the buttons, the keys and the wheel.
class RecordCommandTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<StartedWindow> mStarted;

    const StartedWindow& started() const { return *mStarted; }
    QWidget* focused() const { return started().window().focusWidget(); }
    QTabWidget* tabs() const { return started().control<QTabWidget>("TabStrip1"); }
    QWidget* tabStrip() const { return tabs()->tabBar(); }

    // A key typed where the focus is, as the keyboard would: shortcuts
    // first, then the focused control.
    void press(QWidget* focus, QKeyCombination key) const {
        focus->setFocus();
        QTest::keyClick(focus, key.key(), key.keyboardModifiers());
    }

    QString position() const { return started().control<DisplayBox>("PicShow")->toolTip(); }

    // The record on show, where the tab strip stands and the browsing
    // buttons that are on.
    QString shownState() const {
        return QStringList{started().description(), position(),
                           QString::number(tabs()->currentIndex()),
                           started().enabledAmong(BrowseButtons).join(u' ')}
            .join(u'|');
    }
    static QString stateAt(int record, int tab) {
        const QStringList& on = record == 1 ? Forwards : record == 3 ? Backwards : BrowseButtons;
        return QStringList{Descriptions[record - 1],
                           QStringLiteral("Enregistrement %1 sur 3").arg(record),
                           QString::number(tab), on.join(u' ')}
            .join(u'|');
    }

private slots:
    // Every test starts on record 0 of a base of three, the window active.
    void init() {
        mFolder = std::make_unique<QTemporaryDir>();
        writeDefaultAlbum(mFolder->path(), {{plainPicture(100, 50, Qt::red), Descriptions[0]},
                                            {plainPicture(650, 200, Qt::green), Descriptions[1]},
                                            {plainPicture(200, 400, Qt::blue), Descriptions[2]}});
        mStarted = std::make_unique<StartedWindow>(mFolder->path());
        started().window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&started().window()));
    }

    void cleanup() { mStarted.reset(); }

    // Each button, and each key that presses one wherever the focus is but
    // in the description box, where the arrows move the caret and the page
    // keys, which a line of text has no use for, do nothing. The buttons on
    // at each end are those the engine says.
    void browsingByButtonsAndKeys() {
        const Step steps[] = {
            {"Command3", Click, 2, 0},
            {"Command10", Click, 3, 0},
            {"Command2", Click, 2, 0},
            {"Command9", Click, 1, 0},
            {nullptr, Qt::Key_Right, 2, 0},  // browses rather than switching tabs
            {"Command1", Qt::Key_PageDown, 3, 0},
            {nullptr, Qt::Key_Home, 1, 0},
            {nullptr, Qt::Key_End, 3, 0},
            {nullptr, Qt::Key_Left, 2, 0},
            {nullptr, Qt::Key_PageUp, 1, 0},
            {nullptr, Qt::Key_Left, 1, 0},  // off, as its button is
            {"Command3", Qt::Key_Return, 2, 0},
            {"Command3", Qt::Key_Enter, 3, 0},
            {"Command9", Qt::Key_Space, 1, 0},
            {"TextDescription", Qt::Key_End, 1, 0},
            {"TextDescription", Qt::Key_Right, 1, 0},
            {"TextDescription", Qt::Key_PageDown, 1, 0},
            {nullptr, Qt::CTRL | Qt::Key_Tab, 1, 1},
            {"TextDbOpen", Qt::Key_Right, 1, 1},  // the options tab does not browse
            {"TextDbOpen", Qt::Key_End, 1, 1},
            {nullptr, Qt::CTRL | Qt::Key_PageUp, 1, 0},
            {nullptr, Qt::CTRL | Qt::Key_PageDown, 1, 1},
        };
        QCOMPARE(shownState(), stateAt(1, 0));
        for (const Step& step : steps) {
            QWidget* target =
                step.control == nullptr ? tabStrip() : started().control(step.control);
            if (step.key == Click) {
                started().click(step.control);
            } else {
                press(target, step.key);
            }
            const QString where = QStringLiteral("step %1: ").arg(&step - std::begin(steps));
            QCOMPARE(where + shownState(), where + stateAt(step.record, step.tab));
            QVERIFY(step.key != Click || focused() == tabStrip());
            if (step.record == 2) {
                QCOMPARE(started().window().drawnPictureRect(), QRect(0, 40, 325, 100));
            }
        }
        QVERIFY(started().boxes().shown.empty());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void informationGoesBackToTheTabStrip() {
        started().click("Command12");
        const QStringList texts = started().boxes().takeTexts();
        QCOMPARE(texts.size(), 1);
        QVERIFY(texts[0].startsWith(QStringLiteral("Nom de la base ouverte: album.bdp")));
        QCOMPARE(focused(), tabStrip());
    }

    // Which format a name gives is the engine's rule; the window puts the
    // path of what it saved on the clipboard, and leaves the clipboard
    // alone when nothing is saved.
    void saveAsPutsTheSavedPathOnTheClipboard() {
        QGuiApplication::clipboard()->setText(QStringLiteral("gardé"));
        started().click("Command16");  // cancelled
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("gardé"));

        // The name is completed by the filter picked in the box.
        const QString bare = mFolder->filePath(QStringLiteral("vacances"));
        started().dialog().choose(bare, 2);
        started().click("Command16");
        QCOMPARE(QImage(bare + QStringLiteral(".jpg"), "JPEG").size(), QSize(100, 50));
        QCOMPARE(QGuiApplication::clipboard()->text(), bare + QStringLiteral(".jpg"));
        QVERIFY(started().boxes().shown.empty());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        const QString gif = mFolder->filePath(QStringLiteral("anim.gif"));
        started().dialog().choose(gif);
        started().click("Command16");
        QCOMPARE(started().boxes().takeTexts().size(), 1);
        QCOMPARE(QGuiApplication::clipboard()->text(), bare + QStringLiteral(".jpg"));
    }

    void shortcutsDoWhatTheirButtonsDo() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        press(tabStrip(), Qt::CTRL | Qt::Key_C);
        QCOMPARE(clipboard->image().size(), QSize(100, 50));

        // Searching takes the description box's text, from the record on
        // show; what matches is the engine's to say.
        started().typeDescription(QStringLiteral("bleu"));
        press(tabStrip(), Qt::CTRL | Qt::Key_F);
        QCOMPARE(shownState(), stateAt(3, 0));
        started().typeDescription(QStringLiteral("rouge"));
        press(started().control("Command1"), Qt::CTRL | Qt::SHIFT | Qt::Key_F);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
        QCOMPARE(focused(), tabStrip());

        // Ctrl+V adds the clipboard's picture, as "Coller" does.
        started().typeDescription(QStringLiteral("Copie"));
        QTRY_VERIFY_WITH_TIMEOUT(started().enabled("Command14"), 5000);
        press(tabStrip(), Qt::CTRL | Qt::Key_V);
        QCOMPARE(position(), QStringLiteral("Enregistrement 4 sur 4"));
        QCOMPARE(started().window().engine()->recordCount(), 4);

        // Ctrl+O asks for a base from either tab.
        started().dialog().cancel();
        press(tabStrip(), Qt::CTRL | Qt::Key_O);
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

    // The program's own help, beside the window, with a section for each
    // control's topic: F1 and the help button open it at the top,
    // What's-This at the control's section.
    void helpOpensAtTheControlsTopic() {
        press(tabStrip(), Qt::Key_F1);
        auto* help = started().control<QDialog>("HelpWindow");
        QVERIFY(help != nullptr && help->isVisible() && !help->isModal());
        auto* text = help->findChild<QTextBrowser*>(QStringLiteral("HelpText"));
        QCOMPARE(text->verticalScrollBar()->value(), 0);
        QVERIFY(text->toPlainText().contains(QStringLiteral("pictarium-cli")));
        const QString page = text->toHtml();
        int topics = 0;
        for (const QWidget* control : started().window().findChildren<QWidget*>()) {
            if (const QVariant topic = control->property("helpTopic"); topic.isValid()) {
                ++topics;
                QVERIFY2(page.contains(QStringLiteral("topic-%1").arg(topic.toInt())),
                         qPrintable(control->objectName()));
            }
        }
        QVERIFY(topics > 20);
        help->hide();
        started().click("Command8");
        QVERIFY(help->isVisible());
        help->hide();

        // What's-This on the close button: its section is near the end.
        QHelpEvent whatsThis(QEvent::WhatsThis, QPoint(2, 2), QPoint(2, 2));
        QCoreApplication::sendEvent(started().control("Command13"), &whatsThis);
        QVERIFY(help->isVisible());
        QVERIFY(text->verticalScrollBar()->value() > 0);
        QVERIFY(started().boxes().shown.empty());
    }

    // From the display box's menu, or F2: the new description and the new
    // place are the engine's to write; the window shows the record after.
    void theRecordOnShowIsCorrectedAndMoved() {
        auto* display = started().control<DisplayBox>("PicShow");
        QStringList offered;
        for (const QAction* action : display->actions()) {
            offered.append(action->text());
        }
        QCOMPARE(
            offered,
            (QStringList{QStringLiteral("Afficher en grand"), QStringLiteral("Planche contact…"),
                         QStringLiteral("Modifier la description…"),
                         QStringLiteral("Déplacer vers la position…"), QStringLiteral("Corbeille…"),
                         QStringLiteral("Annuler"), QStringLiteral("Rétablir")}));
        started().click("Command3");
        started().boxes().enter(QStringLiteral("Herbe haute"));
        press(tabStrip(), Qt::Key_F2);
        QCOMPARE(started().boxes().inputLabels.takeFirst(),
                 QStringLiteral("Description de l'enregistrement 2 (1 à 255 caractères) :"));
        QCOMPARE(started().description(), QStringLiteral("Herbe haute"));

        started().boxes().enter(3);
        started().window().findChild<QAction*>(QStringLiteral("MoveRecord"))->trigger();
        QCOMPARE(position(), QStringLiteral("Enregistrement 3 sur 3"));
        QCOMPARE(started().description(), QStringLiteral("Herbe haute"));
        started().click("Command9");
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
        started().click("Command3");
        QCOMPARE(started().description(), QStringLiteral("Ciel bleu"));

        // Cancelled, or refused by the engine, nothing changes.
        press(tabStrip(), Qt::Key_F2);
        started().boxes().enter(QStringLiteral("   "));
        press(tabStrip(), Qt::Key_F2);
        QCOMPARE(started().boxes().takeTexts(), QStringList{EngineText::TextMissing});
        QCOMPARE(started().description(), QStringLiteral("Ciel bleu"));
        QCOMPARE(started().window().engine()->recordCount(), 3);
    }

    // Ctrl+Z takes back each change made here, a deleted record coming
    // back from the trash; Ctrl+Shift+Z makes it again.
    void changesAreUndoneAndRedoneInTurn() {
        auto* undo = started().window().findChild<QAction*>(QStringLiteral("UndoChange"));
        QVERIFY(!undo->isEnabled());
        started().click("Command6");
        QCOMPARE(undo->text(), QStringLiteral("Annuler : la suppression"));
        started().boxes().enter(QStringLiteral("Ciel gris"));
        press(tabStrip(), Qt::Key_F2);  // "Herbe verte", shown in the place of the first
        started().boxes().enter(2);
        started().window().findChild<QAction*>(QStringLiteral("MoveRecord"))->trigger();
        const std::vector<std::pair<QKeyCombination, QString>> steps = {
            {Qt::CTRL | Qt::Key_Z, "Ciel gris|Ciel bleu"},
            {Qt::CTRL | Qt::Key_Z, "Herbe verte|Ciel bleu"},
            {Qt::CTRL | Qt::Key_Z, "Pomme rouge|Herbe verte|Ciel bleu"},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, "Herbe verte|Ciel bleu"},
        };
        for (const auto& [key, texts] : steps) {
            press(tabStrip(), key);
            QStringList shown;
            started().click("Command9");
            shown.append(started().description());
            while (started().enabled("Command3")) {
                started().click("Command3");
                shown.append(started().description());
            }
            QCOMPARE(shown.join(u'|'), texts);
        }
        QVERIFY(started().boxes().shown.empty());

        // Another program's change makes the history stale.
        const QString album = mFolder->filePath(QStringLiteral("album.bdp"));
        QVERIFY(QFile::remove(album));
        writeBase(album, {{plainPicture(10, 10, Qt::black), QStringLiteral("ailleurs")}});
        QFile file(album);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        press(tabStrip(), Qt::CTRL | Qt::Key_Z);
        QCOMPARE(started().boxes().takeTexts().size(), 1);
        QVERIFY(!undo->isEnabled());
        file.seek(0);
        QCOMPARE(file.readAll(), written);
    }

    // The trash window lists what the deletes kept, puts the chosen records
    // back and, after a question, forgets them all.
    void theTrashWindowRestoresAndEmpties() {
        started().click("Command6");
        started().window().findChild<QAction*>(QStringLiteral("ShowTrash"))->trigger();
        auto* trash = started().control<QDialog>("TrashWindow");
        QVERIFY(trash->isVisible());
        QCOMPARE(trash->windowTitle(), QStringLiteral("Corbeille – album.bdp"));
        auto* list = trash->findChild<QTreeWidget*>(QStringLiteral("TrashList"));
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("Pomme rouge"));
        QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("1"));
        const QImage icon = list->topLevelItem(0)->icon(0).pixmap(48).toImage();
        QCOMPARE(icon.pixelColor(icon.width() / 2, icon.height() / 2), QColor(Qt::red));
        const auto button = [trash](const char* text) {
            for (QPushButton* candidate : trash->findChildren<QPushButton*>()) {
                if (candidate->text() == QString::fromUtf8(text)) {
                    return candidate;
                }
            }
            return static_cast<QPushButton*>(nullptr);
        };
        list->topLevelItem(0)->setSelected(true);
        button("Restaurer")->click();
        QCOMPARE(started().window().engine()->recordCount(), 3);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
        QCOMPARE(list->topLevelItemCount(), 0);
        // A restore is undone like any change made here.
        auto* undo = started().window().findChild<QAction*>(QStringLiteral("UndoChange"));
        QCOMPARE(undo->text(), QStringLiteral("Annuler : la restauration"));
        undo->trigger();
        QCOMPARE(started().boxes().takeTexts(), QStringList());
        QCOMPARE(started().window().engine()->recordCount(), 2);
        started().window().findChild<QAction*>(QStringLiteral("RedoChange"))->trigger();
        QCOMPARE(started().window().engine()->recordCount(), 3);
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));

        started().click("Command6");
        started().window().findChild<QAction*>(QStringLiteral("ShowTrash"))->trigger();
        started().boxes().answer(QMessageBox::Yes);
        button("Vider la corbeille")->click();
        QCOMPARE(started().boxes().takeTexts().size(), 1);
        QCOMPARE(list->topLevelItemCount(), 0);
    }
};

}  // namespace pictarium::test

#include "record_commands_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::RecordCommandTest)
