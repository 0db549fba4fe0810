#include "engine/engine_texts.h"
#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"
#include "window/description_box_p.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

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
        QVERIFY(started.boxes().shown.empty());
        QVERIFY(started.control("PicData")->isVisible());
        QVERIFY(!started.control("PicConfig")->isVisible());
    }

    void controlsSitAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("tip");
        const auto row = [](const char* name, QRect geometry, const char* tip) {
            QTest::newRow(name) << QString::fromLatin1(name) << geometry << QString::fromUtf8(tip);
        };
        row("TabStrip1", {8, 8, 377, 361}, "");
        row("PicData", {16, 32, 361, 329}, "");
        row("Command13", {304, 376, 81, 25}, "");
        row("Command1", {8, 8, 25, 25}, "Ajouter");
        row("Command6", {40, 8, 25, 25}, "Supprimer");
        row("Command15", {88, 8, 25, 25}, "Copier");
        row("Command14", {120, 8, 25, 25}, "Coller");
        row("Command16", {152, 8, 25, 25}, "Enregistrer sous...");
        row("PicShow", {8, 40, 329, 185}, "");
        row("Command9", {176, 232, 25, 25}, "Reculer");
        row("Command10", {208, 232, 25, 25}, "Reculer");
        row("Command2", {280, 232, 25, 25}, "Reculer");
        row("Command3", {312, 232, 25, 25}, "Avancer");
        row("TextDescription", {8, 264, 329, 19}, "");
        row("Command7", {8, 288, 25, 25}, "Rechercher depuis le début jusqu'à cette position");
        row("Command11", {40, 288, 25, 25},
            "Rechercher depuis cette position jusqu'à la fin du fichier");
        row("Command12", {280, 288, 25, 25}, "Infos base de données");
        row("Command8", {312, 288, 25, 25}, "Aide ?");
        row("Command5", {8, 16, 25, 25}, "Créer une base");
        row("Command4", {40, 16, 25, 25}, "Ouvrir une base");
        row("Label1", {8, 64, 69, 13}, "");
        row("TextDbOpen", {8, 80, 337, 19}, "");
        row("CmdImpose", {256, 112, 89, 25}, "A ouvrir par défaut");
        row("Label2", {8, 152, 81, 13}, "");
        row("TextDefautBase", {8, 168, 337, 19}, "");
    }

    void controlsSitAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, tip);
        const StartedWindow started(mFolder->path());
        const QWidget* control = started.control(name.toLatin1().constData());
        QVERIFY(control != nullptr);
        QCOMPARE(control->pos(), geometry.topLeft());
        // A label may grow to show its whole text; nothing else changes size.
        if (name.startsWith(QStringLiteral("Label"))) {
            QVERIFY(control->width() >= geometry.width());
            QVERIFY(control->width() >= control->sizeHint().width());
        } else {
            QCOMPARE(control->size(), geometry.size());
        }
        QCOMPARE(control->toolTip(), tip);
    }

    void showsTheSystemTexts() {
        const StartedWindow started(mFolder->path());
        const auto* tabs = started.control<QTabWidget>("TabStrip1");
        QCOMPARE(tabs->tabText(0), QStringLiteral("Pictarium"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Options"));
        QCOMPARE(started.control<QPushButton>("Command13")->text(), QStringLiteral("&Fermer"));
        QCOMPARE(started.control<QPushButton>("CmdImpose")->text(), QStringLiteral("&Imposer"));
        QCOMPARE(started.control<QLabel>("Label1")->text(), QStringLiteral("Base ouverte :"));
        QCOMPARE(started.control<QLabel>("Label2")->text(), QStringLiteral("Base par défaut :"));
        QVERIFY(started.control<QLineEdit>("TextDefautBase")->isReadOnly());
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
        const QString base = path("photos.bdp");
        writeBase(base, {{plainPicture(100, 50, Qt::red), QStringLiteral("Rouge")},
                         {plainPicture(60, 60, Qt::blue), QStringLiteral("Bleu")}});
        writeDefaultBase(mFolder->path(), base);
        const StartedWindow started(mFolder->path());
        QCOMPARE(started.control<QLineEdit>("TextDbOpen")->text(), base);
        QCOMPARE(started.control<QLineEdit>("TextDefautBase")->text(), base);
        QVERIFY(!started.enabled("CmdImpose"));
        QCOMPARE(started.description(), QStringLiteral("Rouge"));
        QCOMPARE(started.enabledAmong(RecordButtons),
                 (QStringList{"Command1", "Command3", "Command6", "Command10", "Command11",
                              "Command12", "Command15", "Command16"}));
        QCOMPARE(started.window().drawnPictureRect(), QRect(112, 65, 100, 50));
        QCOMPARE(started.displayColourAt(160, 90), QColor(Qt::red));
        QCOMPARE(started.displayColourAt(111, 90), QColor(Qt::white));
    }

    void startsUsableWhenTheFirstRecordIsCorrupt() {
        const QString base = path("damaged.bdp");
        writeBase(base, {{plainPicture(10, 10, Qt::red), QStringLiteral("Abîmée")},
                         {plainPicture(10, 10, Qt::green), QStringLiteral("Saine")}});
        spoilStoredPicture(base, 0);
        writeDefaultBase(mFolder->path(), base);
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
        QCOMPARE(text->source(), QUrl(QStringLiteral("qrc:/help/aide.html")));
        QVERIFY(text->toPlainText().contains(QStringLiteral("pictarium-cli")));
        QVERIFY(started.boxes().shown.empty());

        // Every control's topic has its own section in the help.
        const QString page = text->toHtml();
        for (int topic = 100; topic <= 120; ++topic) {
            QVERIFY2(page.contains(QStringLiteral("topic-%1").arg(topic)),
                     qPrintable(QString::number(topic)));
        }
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
        const QString base = path("tabs.bdp");
        writeBase(base, {{plainPicture(40, 40, Qt::cyan), QStringLiteral("Cyan")},
                         {plainPicture(40, 40, Qt::gray), QStringLiteral("Gris")}});
        writeDefaultBase(mFolder->path(), base);
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
        const QString base = path("vide.bdp");
        writeBase(base, {});
        writeDefaultBase(mFolder->path(), base);
        const StartedWindow started(mFolder->path());
        QVERIFY(started.enabled("Command1"));
        QVERIFY(!started.enabled("Command13"));
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::white));
    }
};

}  // namespace pictarium::test

#include "start_up_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::StartUpTest)
