#include "engine/engine_texts.h"
#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace pictarium::test {

namespace {

const QStringList BrowseButtons = {QStringLiteral("Command2"),  QStringLiteral("Command3"),
                                   QStringLiteral("Command7"),  QStringLiteral("Command9"),
                                   QStringLiteral("Command10"), QStringLiteral("Command11")};

const QStringList Backwards = {QStringLiteral("Command2"), QStringLiteral("Command7"),
                               QStringLiteral("Command9")};
const QStringList Forwards = {QStringLiteral("Command3"), QStringLiteral("Command10"),
                              QStringLiteral("Command11")};

}  // namespace

class RecordCommandTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<StartedWindow> mStarted;

    const StartedWindow& started() const { return *mStarted; }
    QWidget* focused() const { return started().window().focusWidget(); }
    QWidget* tabStrip() const { return started().control<QTabWidget>("TabStrip1")->tabBar(); }

private slots:
    // Every test starts on record 0 of a base of three.
    void init() {
        mFolder = std::make_unique<QTemporaryDir>();
        const QString base = mFolder->filePath(QStringLiteral("trois.bdp"));
        writeBase(base, {{plainPicture(100, 50, Qt::red), QStringLiteral("Pomme rouge")},
                         {plainPicture(650, 200, Qt::green), QStringLiteral("Herbe verte")},
                         {plainPicture(200, 400, Qt::blue), QStringLiteral("Ciel bleu")}});
        writeDefaultBase(mFolder->path(), base);
        mStarted = std::make_unique<StartedWindow>(mFolder->path());
    }

    void cleanup() { mStarted.reset(); }

    void browsingSetsTheButtonsAsTheEngineSays() {
        QCOMPARE(started().enabledAmong(BrowseButtons), Forwards);
        started().click("Command3");
        QCOMPARE(started().description(), QStringLiteral("Herbe verte"));
        QCOMPARE(started().enabledAmong(BrowseButtons), BrowseButtons);
        QCOMPARE(started().window().drawnPictureRect(), QRect(0, 40, 325, 100));
        QCOMPARE(focused(), tabStrip());

        started().click("Command10");
        QCOMPARE(started().description(), QStringLiteral("Ciel bleu"));
        QCOMPARE(started().enabledAmong(BrowseButtons), Backwards);
        QCOMPARE(started().window().drawnPictureRect(), QRect(117, 0, 90, 181));

        started().click("Command2");
        QCOMPARE(started().description(), QStringLiteral("Herbe verte"));
        started().click("Command9");
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
        QCOMPARE(started().enabledAmong(BrowseButtons), Forwards);
        QVERIFY(started().boxes().shown.empty());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void searchesFromTheRecordOnShow() {
        started().typeDescription(QStringLiteral("bleu"));
        started().click("Command11");
        QCOMPARE(started().description(), QStringLiteral("Ciel bleu"));
        QCOMPARE(started().enabledAmong(BrowseButtons), Backwards);

        started().typeDescription(QStringLiteral("ROUGE"));
        started().click("Command7");
        QCOMPARE(started().description(), QStringLiteral("Pomme rouge"));
        QCOMPARE(focused(), tabStrip());

        started().typeDescription(QStringLiteral("introuvable"));
        started().click("Command11");
        QCOMPARE(started().boxes().takeTexts(), QStringList{EngineText::NothingFound});
    }

    void deletingShowsTheRecordThatTookItsPlace() {
        started().click("Command3");
        started().boxes().answer(QMessageBox::Yes);
        started().click("Command6");
        QCOMPARE(started().window().engine()->recordCount(), 2);
        QCOMPARE(started().description(), QStringLiteral("Ciel bleu"));
        QCOMPARE(started().enabledAmong(BrowseButtons), Backwards);
        QVERIFY(started().enabled("Command6") && started().enabled("Command15"));
    }

    void informationGoesBackToTheTabStrip() {
        started().click("Command12");
        const QStringList texts = started().boxes().takeTexts();
        QCOMPARE(texts.size(), 1);
        QVERIFY(texts[0].startsWith(QStringLiteral("Nom de la base ouverte: trois.bdp")));
        QCOMPARE(focused(), tabStrip());
    }

    void copyPutsThePictureOnTheClipboard() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("avant"));
        started().click("Command15");
        const QImage copied = clipboard->image();
        QCOMPARE(copied.size(), QSize(100, 50));
        QCOMPARE(copied.pixelColor(50, 25), QColor(Qt::red));
    }

    void saveAsWritesTheFileAndPutsItsPathOnTheClipboard() {
        // A cancelled box leaves the clipboard alone.
        QGuiApplication::clipboard()->setText(QStringLiteral("gardé"));
        started().click("Command16");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("gardé"));

        const QString target = mFolder->filePath(QStringLiteral("export.bmp"));
        started().dialog().choose(target);
        started().click("Command16");
        const ShownFileBox& box = started().dialog().shownBoxes.at(1);
        QCOMPARE(box.title, QStringLiteral("Enregistrer l'image sous..."));
        QCOMPARE(box.acceptMode, QFileDialog::AcceptSave);
        QVERIFY(!box.confirmsOverwrite);
        QCOMPARE(QImage(target).size(), QSize(100, 50));
        QCOMPARE(QGuiApplication::clipboard()->text(), target);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void saveAsWritesWhatTheNameSaysOrSaysWhyNot() {
        QCOMPARE(started().dialog().shownBoxes.size(), std::size_t{0});
        const QString png = mFolder->filePath(QStringLiteral("photo.PNG"));
        started().dialog().choose(png);
        started().click("Command16");
        QCOMPARE(QImage(png, "PNG").size(), QSize(100, 50));
        QCOMPARE(started().dialog().shownBoxes.at(0).nameFilters.size(), 3);

        // A name without extension takes that of the filter picked.
        const QString bare = mFolder->filePath(QStringLiteral("sans.extension/vacances"));
        QVERIFY(QDir(mFolder->path()).mkdir(QStringLiteral("sans.extension")));
        started().dialog().choose(bare, 2);
        started().click("Command16");
        QVERIFY(QFile(bare + QStringLiteral(".jpg")).open(QIODevice::ReadOnly));
        QCOMPARE(QGuiApplication::clipboard()->text(), bare + QStringLiteral(".jpg"));
        QVERIFY(started().boxes().shown.empty());

        // A name of another kind is refused aloud; the clipboard stays.
        const QString gif = mFolder->filePath(QStringLiteral("anim.gif"));
        started().dialog().choose(gif);
        started().click("Command16");
        QCOMPARE(
            started().boxes().takeTexts(),
            QStringList{QStringLiteral(
                "Choisissez un nom en .bmp, .jpg ou .png : l'image n'a pas été enregistrée.")});
        QVERIFY(!QFile::exists(gif));
        QCOMPARE(QGuiApplication::clipboard()->text(), bare + QStringLiteral(".jpg"));
    }
};

}  // namespace pictarium::test

#include "record_commands_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::RecordCommandTest)
