#include "engine/engine_texts.h"
#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"
#include "window/description_box_p.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

namespace pictarium::test {

namespace {

const QStringList RecordButtons = {
    QStringLiteral("Command1"),  QStringLiteral("Command2"),  QStringLiteral("Command3"),
    QStringLiteral("Command6"),  QStringLiteral("Command7"),  QStringLiteral("Command9"),
    QStringLiteral("Command10"), QStringLiteral("Command11"), QStringLiteral("Command12"),
    QStringLiteral("Command14"), QStringLiteral("Command15"), QStringLiteral("Command16")};

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;

    QString path(const char* name) const { return mFolder->filePath(QString::fromLatin1(name)); }

private slots:
    void init() { mFolder = std::make_unique<QTemporaryDir>(); }

    void startsEmptyWithoutDefaultBase() {
        const StartedWindow started(mFolder->path());
        QCOMPARE(started.window().windowTitle(), QStringLiteral("Tessaline - Pictarium"));
        QCOMPARE(started.window().size(), QSize(393, 409));
        QCOMPARE(started.enabledAmong(RecordButtons), QStringList{});
        QVERIFY(started.enabled("Command8") && started.enabled("Command13"));
        QVERIFY(started.enabled("Command4") && started.enabled("Command5"));
        QVERIFY(!started.enabled("CmdImpose"));
        QVERIFY(started.control<QLineEdit>("TextDbOpen")->text().isEmpty());
        QVERIFY(started.control<QLineEdit>("TextDbOpen")->isReadOnly());
        QVERIFY(started.control<QLineEdit>("TextDefautBase")->isReadOnly());
        QVERIFY(started.boxes().shown.empty());
        QVERIFY(started.control("PicData")->isVisible());
        QVERIFY(!started.control("PicConfig")->isVisible());
    }

    // On either tab, every control shown lies inside what holds it, and no
    // two overlap unless one is laid over the other; a label is wide
    // enough for its whole text, and a picture button says what it does.
    void controlsShownDoNotOverlap() {
        const StartedWindow started(mFolder->path());
        auto* tabs = started.control<QTabWidget>("TabStrip1");
        for (const int tab : {0, 1}) {
            tabs->setCurrentIndex(tab);
            QList<QWidget*> shown;
            for (QWidget* control : started.window().findChildren<QWidget*>()) {
                if (control->isVisible() && !control->objectName().isEmpty() &&
                    !control->objectName().startsWith(QStringLiteral("qt_"))) {
                    shown.append(control);
                }
            }
            QVERIFY(shown.size() >= 10);
            for (const QWidget* control : std::as_const(shown)) {
                const QString name = control->objectName();
                QVERIFY2(control->parentWidget()->rect().contains(control->geometry()),
                         qPrintable(name));
                if (const auto* label = qobject_cast<const QLabel*>(control)) {
                    QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(name));
                }
                if (qobject_cast<const QToolButton*>(control) != nullptr) {
                    QVERIFY2(!control->toolTip().isEmpty(), qPrintable(name));
                }
                for (const QWidget* other : std::as_const(shown)) {
                    const QRect a = control->geometry();
                    const QRect b = other->geometry();
                    QVERIFY2(other == control || other->parentWidget() != control->parentWidget() ||
                                 !a.intersects(b) || a.contains(b) || b.contains(a),
                             qPrintable(name + QStringLiteral(" and ") + other->objectName()));
                }
            }
        }
    }

    void focusFollowsTheSystemOrder() {
        const StartedWindow started(mFolder->path());
        const QStringList expected = {
            "TabStrip1", "Command13", "PicData",         "PicConfig", "Command15",  "Command14",
            "Command8",  "Command12", "TextDescription", "Command11", "Command7",   "PicShow",
            "Command10", "Command9",  "Command6",        "Command3",  "Command2",   "Command1",
            "Command5",  "Command4",  "TextDefautBase",  "CmdImpose", "TextDbOpen", "Command16"};
        QStringList order;
        QWidget* widget = started.control("TabStrip1");
        do {
            if (expected.contains(widget->objectName()) && !order.contains(widget->objectName())) {
                order.append(widget->objectName());
            }
            widget = widget->nextInFocusChain();
        } while (widget != started.control("TabStrip1"));
        QCOMPARE(order, expected);
    }

    void opensTheDefaultBaseAndShowsItsFirstRecord() {
        const QString base = writeDefaultAlbum(
            mFolder->path(), {{plainPicture(100, 50, Qt::red), QStringLiteral("Rouge")},
                              {plainPicture(60, 60, Qt::blue), QStringLiteral("Bleu")}});
        const StartedWindow started(mFolder->path());
        QCOMPARE(started.control<QLineEdit>("TextDbOpen")->text(), base);
        QCOMPARE(started.control<QLineEdit>("TextDefautBase")->text(), base);
        QVERIFY(!started.enabled("CmdImpose"));
        QCOMPARE(started.description(), QStringLiteral("Rouge"));
        QCOMPARE(started.enabledAmong(RecordButtons),
                 (QStringList{"Command1", "Command3", "Command6", "Command10", "Command11",
                              "Command12", "Command15", "Command16"}));
        QCOMPARE(started.displayColourAt(160, 90), QColor(Qt::red));
        QCOMPARE(started.displayColourAt(111, 90), QColor(Qt::white));
    }

    void startsUsableWhenTheFirstRecordIsCorrupt() {
        const QString base = writeDefaultAlbum(
            mFolder->path(), {{plainPicture(10, 10, Qt::red), QStringLiteral("Abîmée")},
                              {plainPicture(10, 10, Qt::green), QStringLiteral("Saine")}});
        spoilStoredPicture(base, 0);
        const StartedWindow started(mFolder->path());
        // The engine's words, then how to save what is still readable.
        const QStringList told = started.boxes().takeTexts();
        QCOMPARE(told.size(), 1);
        const QStringList lines = told.front().split(u'\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.front(), EngineText::CorruptPicture);
        QVERIFY(lines.back().contains(QStringLiteral("pictarium-cli recover")));
        QVERIFY(started.enabled("Command1") && started.enabled("Command10"));
        started.click("Command10");
        QCOMPARE(started.description(), QStringLiteral("Saine"));
        QVERIFY(started.boxes().shown.empty());
    }

    void ignoresADefaultThatIsNotABase() {
        QFile notBase(path("notes.bdp"));
        QVERIFY(notBase.open(QIODevice::WriteOnly));
        notBase.write("not a base at all");
        notBase.close();
        writeDefaultBase(mFolder->path(), notBase.fileName());
        const StartedWindow started(mFolder->path());
        const QStringList told = started.boxes().takeTexts();
        QCOMPARE(told.size(), 1);
        QVERIFY(told.front().startsWith(EngineText::NotAPictariumFile + u'\n'));
        QVERIFY(started.control<QLineEdit>("TextDbOpen")->text().isEmpty());
        QVERIFY(started.control<QLineEdit>("TextDefautBase")->text().isEmpty());
        QVERIFY(!started.enabled("Command1"));
    }

    void makesTheOpenBaseTheDefaultForTheNextStart() {
        const QString base = path("vacances.bdp");
        writeBase(base, {{plainPicture(30, 20, Qt::yellow), QStringLiteral("Plage")}});
        {
            const StartedWindow first(mFolder->path());
            first.dialog().choose(base);
            first.click("Command4");
            const ShownFileBox& box = first.dialog().shownBoxes.at(0);
            QCOMPARE(box.title, QStringLiteral("Ouvrir une base de données..."));
            QCOMPARE(box.fileMode, QFileDialog::AnyFile);
            QCOMPARE(box.nameFilters, QStringList{QStringLiteral("Pictarium(*.bdp;) (*.bdp)")});
            QCOMPARE(first.control<QLineEdit>("TextDbOpen")->text(), base);
            QVERIFY(first.control<QLineEdit>("TextDefautBase")->text().isEmpty());
            QVERIFY(first.enabled("CmdImpose"));
            first.click("CmdImpose");
            QCOMPARE(first.control<QLineEdit>("TextDefautBase")->text(), base);
            QVERIFY(!first.enabled("CmdImpose"));
            first.click("Command13");
            QCOMPARE(first.window().engine(), nullptr);
        }
        QFile pointer(path("default.tsi"));
        QVERIFY(pointer.open(QIODevice::ReadOnly));
        QCOMPARE(pointer.readAll(), QFile::encodeName(base));
        const StartedWindow second(mFolder->path());
        QCOMPARE(second.control<QLineEdit>("TextDefautBase")->text(), base);
        QCOMPARE(second.description(), QStringLiteral("Plage"));
    }

    void createsABaseUnderTheChosenName() {
        const StartedWindow started(mFolder->path());
        started.dialog().choose(path("nouvelle.jpg"));
        started.click("Command5");
        QVERIFY(QFile::exists(path("nouvelle.bdp")));
        QVERIFY(started.control<QLineEdit>("TextDbOpen")->text().isEmpty());
        QVERIFY(!started.enabled("Command1"));

        // A name without extension gets one, and a dot in a folder's name
        // is not the file's extension.
        QVERIFY(QDir(mFolder->path()).mkdir(QStringLiteral("jean.dupont")));
        started.dialog().choose(path("jean.dupont/photos"));
        started.click("Command5");
        QVERIFY(QFile::exists(path("jean.dupont/photos.bdp")));
        QVERIFY(!QFile::exists(path("jean.bdp")));
        QVERIFY(started.boxes().shown.empty());
    }

    void helpShowsTheProgramsOwnHelp() {
        const StartedWindow started(mFolder->path());
        started.click("Command8");
        auto* help = started.control<QDialog>("HelpWindow");
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QVERIFY(!help->isModal());
        auto* text = help->findChild<QTextBrowser*>(QStringLiteral("HelpText"));
        QVERIFY(text->toPlainText().contains(QStringLiteral("pictarium-cli")));
        QVERIFY(started.boxes().shown.empty());

        // Every control's topic has its own section in the help.
        const QString page = text->toHtml();
        int topics = 0;
        for (const QWidget* control : started.window().findChildren<QWidget*>()) {
            if (const QVariant topic = control->property("helpTopic"); topic.isValid()) {
                ++topics;
                QVERIFY2(page.contains(QStringLiteral("topic-%1").arg(topic.toInt())),
                         qPrintable(control->objectName()));
            }
        }
        QVERIFY(topics > 20);
    }

    void aBaseOnTheCommandLineIsOpenedAndTheDefaultStays() {
        const QString usual = path("usuelle.bdp");
        const QString named = path("nommée.bdp");
        writeBase(usual, {{plainPicture(40, 40, Qt::cyan), QStringLiteral("Plage")}});
        writeBase(named, {{plainPicture(40, 40, Qt::gray), QStringLiteral("Montagne")}});
        writeDefaultBase(mFolder->path(), usual);
        const StartedWindow started(mFolder->path(), named);
        QCOMPARE(started.description(), QStringLiteral("Montagne"));
        QCOMPARE(started.control<QLineEdit>("TextDbOpen")->text(), named);
        QCOMPARE(started.control<QLineEdit>("TextDefautBase")->text(), usual);
        QVERIFY(started.enabled("CmdImpose"));
        QVERIFY(started.boxes().shown.empty());
    }

    void switchingTabsChangesNothingElse() {
        writeDefaultAlbum(mFolder->path(),
                          {{plainPicture(40, 40, Qt::cyan), QStringLiteral("Cyan")},
                           {plainPicture(40, 40, Qt::gray), QStringLiteral("Gris")}});
        const StartedWindow started(mFolder->path());
        const QStringList before = started.enabledAmong(RecordButtons);
        auto* tabs = started.control<QTabWidget>("TabStrip1");
        tabs->setCurrentIndex(1);
        QVERIFY(started.control("PicConfig")->isVisible());
        QVERIFY(!started.control("PicData")->isVisible());
        tabs->setCurrentIndex(0);
        QVERIFY(started.control("PicData")->isVisible());
        QCOMPARE(started.enabledAmong(RecordButtons), before);
        QCOMPARE(started.description(), QStringLiteral("Cyan"));
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::cyan));
    }

    void emptyBaseDisablesClose() {
        writeDefaultAlbum(mFolder->path(), {});
        const StartedWindow started(mFolder->path());
        QVERIFY(started.enabled("Command1"));
        QVERIFY(!started.enabled("Command13"));
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::white));
    }
};

}  // namespace pictarium::test

#include "start_up_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::StartUpTest)
