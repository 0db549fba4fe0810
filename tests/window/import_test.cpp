#include "engine/engine_texts.h"
#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"
#include "window/picture_holder_p.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace pictarium::test {

class ImportTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;

    QString path(const char* name) const { return mFolder->filePath(QString::fromLatin1(name)); }

    QString savedPicture(const char* name, QColor colour, const char* format) const {
        const QString file = path(name);
        plainPicture(80, 40, colour).save(file, format);
        return file;
    }

    // An empty base, made the default so that the window opens it.
    void defaultEmptyBase() const {
        writeBase(path("album.bdp"), {});
        writeDefaultBase(mFolder->path(), path("album.bdp"));
    }

    static int recordCount(const StartedWindow& started) {
        return started.window().engine()->recordCount();
    }

    static bool pending(const StartedWindow& started) {
        return started.control<PictureHolder>("PicTmp")->holdsPicture();
    }

    // Drags the files over the window as a file manager does; true when
    // the window takes them, and then drops them.
    static bool drop(const StartedWindow& started, const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : paths) {
            urls.append(QUrl::fromLocalFile(file));
        }
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(160, 90), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&started.window(), &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent dropped(QPointF(160, 90), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&started.window(), &dropped);
        return true;
    }

private slots:
    void init() {
        mFolder = std::make_unique<QTemporaryDir>();
        QGuiApplication::clipboard()->clear();
    }

    void addsAPictureChosenInTheBox() {
        defaultEmptyBase();
        const StartedWindow started(mFolder->path());
        started.dialog().choose(savedPicture("Photo.Jpg", Qt::magenta, "JPG"));
        started.typeDescription(QStringLiteral("Une photo"));
        started.click("Command1");
        const ShownFileBox& box = started.dialog().shownBoxes.at(0);
        QCOMPARE(box.title, QStringLiteral("ajouter une image..."));
        QCOMPARE(box.fileMode, QFileDialog::ExistingFiles);
        QVERIFY(box.nameFilters.at(0).startsWith(QStringLiteral("Toutes les images(*.bmp;*.wmf;")));
        QVERIFY(
            box.nameFilters.at(0).endsWith(QStringLiteral("*.heif;*.avif) (*.bmp *.wmf *.emf "
                                                          "*.rle *.gif *.jpg *.cmp *.jff *.jtf "
                                                          "*.tif *.mpt *.tga *.pcx *.dcx *.pic "
                                                          "*.cal *.mac *.img *.msp *.itg *.smp "
                                                          "*.pbm *.wpg *.ras *.pct *.pcd *.fpx "
                                                          "*.eps *.cut *.psd *.png *.clp *.sgi "
                                                          "*.sct *.jpeg *.jpe *.jfif *.tiff "
                                                          "*.webp *.heic *.heif *.avif)")));
        QCOMPARE(recordCount(started), 1);
        QCOMPARE(started.description(), QStringLiteral("Une photo"));
        QVERIFY(!pending(started));
        QCOMPARE(started.window().drawnPictureRect(), QRect(122, 70, 80, 40));
        QVERIFY(started.enabled("Command13"));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void refusedAddKeepsThePicturePending() {
        defaultEmptyBase();
        const StartedWindow started(mFolder->path());
        started.dialog().choose(savedPicture("logo.bmp", Qt::darkGreen, "BMP"));
        started.click("Command1");
        QCOMPARE(started.boxes().takeTexts(), QStringList{EngineText::TextMissing});
        QCOMPARE(recordCount(started), 0);
        QVERIFY(pending(started));
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::white));

        // Once the description is typed, the same picture goes in, no box asked.
        started.typeDescription(QStringLiteral("Logo"));
        started.click("Command1");
        QCOMPARE(started.dialog().shownBoxes.size(), std::size_t{1});
        QCOMPARE(recordCount(started), 1);
        QVERIFY(!pending(started));
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::darkGreen));
    }

    void ignoresCancelAndSaysWhyAnUnlistedFileIsLeftOut() {
        defaultEmptyBase();
        const StartedWindow started(mFolder->path());
        started.typeDescription(QStringLiteral("Rien"));
        started.dialog().cancel();
        started.click("Command1");
        QVERIFY(started.boxes().shown.empty());
        started.dialog().choose(savedPicture("notes.txt", Qt::red, "JPG"));
        started.click("Command1");
        QCOMPARE(recordCount(started), 0);
        QCOMPARE(started.boxes().takeTexts(),
                 QStringList{QStringLiteral(
                     "Pictarium ne lit pas ce type de fichier : aucune image n'est ajoutée.")});
        QVERIFY(!pending(started));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        started.dialog().choose(savedPicture("photo.jpeg", Qt::red, "JPG"));
        started.click("Command1");
        QCOMPARE(recordCount(started), 1);
        QVERIFY(started.boxes().shown.empty());
    }

    void severalFilesChosenOrDroppedGoInOneRewrite() {
        defaultEmptyBase();
        const StartedWindow started(mFolder->path());
        // Without a text typed, each is described by its file name.
        started.dialog().chooseMany({savedPicture("Le port.png", Qt::red, "PNG"),
                                     savedPicture("plage.bmp", Qt::blue, "BMP"),
                                     savedPicture("notes.txt", Qt::red, "PNG")});
        started.click("Command1");
        QCOMPARE(started.boxes().takeTexts(),
                 QStringList{QStringLiteral(
                     "Pictarium ne lit pas ces fichiers, qui ne sont pas ajoutés :\nnotes.txt")});
        QCOMPARE(recordCount(started), 2);
        QCOMPARE(started.description(), QStringLiteral("plage"));
        started.click("Command2");
        QCOMPARE(started.description(), QStringLiteral("Le port"));
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::red));

        // A text typed describes them all.
        started.typeDescription(QStringLiteral("Vacances"));
        QVERIFY(drop(started, {path("Le port.png"), path("plage.bmp")}));
        QCOMPARE(recordCount(started), 4);
        QCOMPARE(started.description(), QStringLiteral("Vacances"));
        QVERIFY(started.boxes().shown.empty());

        // One that does not decode stops them all.
        QFile broken(path("cassée.gif"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("GIF89a but nothing else");
        broken.close();
        QVERIFY(drop(started, {path("plage.bmp"), broken.fileName()}));
        QCOMPARE(started.boxes().shown.size(), std::size_t{1});
        QCOMPARE(recordCount(started), 4);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void oneDroppedFileIsAddedAsTheAddButtonAddsIt() {
        const StartedWindow noBase(mFolder->path());
        QVERIFY(!drop(noBase, {savedPicture("a.png", Qt::red, "PNG")}));

        defaultEmptyBase();
        const StartedWindow started(mFolder->path());
        QVERIFY(drop(started, {path("a.png")}));
        QCOMPARE(started.boxes().takeTexts(), QStringList{EngineText::TextMissing});
        QVERIFY(pending(started));
        started.typeDescription(QStringLiteral("Déposée"));
        started.click("Command1");
        QVERIFY(started.dialog().shownBoxes.empty());
        QCOMPARE(recordCount(started), 1);
        QCOMPARE(started.description(), QStringLiteral("Déposée"));
    }

    void refusesAFileThatDoesNotDecode() {
        defaultEmptyBase();
        QFile broken(path("broken.gif"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("GIF89a but nothing else");
        broken.close();
        const StartedWindow started(mFolder->path());
        started.typeDescription(QStringLiteral("Cassée"));
        started.dialog().choose(broken.fileName());
        started.click("Command1");
        QCOMPARE(started.boxes().shown.size(), std::size_t{1});
        QCOMPARE(recordCount(started), 0);
        QVERIFY(!pending(started));
    }

    void takesTheCommandLinePictureAsPending() {
        defaultEmptyBase();
        const QString picture = savedPicture("Cmd.Bmp", Qt::yellow, "BMP");
        const StartedWindow started(mFolder->path(), QStringLiteral("  ") + picture + "  ");
        QVERIFY(pending(started));
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::white));
        started.typeDescription(QStringLiteral("Depuis la ligne de commande"));
        started.click("Command1");
        QVERIFY(started.dialog().shownBoxes.empty());
        QCOMPARE(recordCount(started), 1);
    }

    void ignoresCommandLineFilesOutsideBothGroups() {
        const QString quoted = QLatin1Char('"') + savedPicture("a.bmp", Qt::red, "BMP") + '"';
        const StartedWindow withQuotes(mFolder->path(), quoted);
        QVERIFY(!pending(withQuotes));
        const StartedWindow text(mFolder->path(), savedPicture("b.txt", Qt::red, "JPG"));
        QVERIFY(!pending(text));
        QVERIFY(text.boxes().shown.empty());
    }

    void pasteFollowsTheClipboardAndAddsAtOnce() {
        defaultEmptyBase();
        const StartedWindow started(mFolder->path());
        QClipboard* clipboard = QGuiApplication::clipboard();
        QVERIFY(!started.enabled("Command14"));
        clipboard->setImage(plainPicture(50, 30, Qt::darkBlue));
        QTRY_VERIFY_WITH_TIMEOUT(started.enabled("Command14"), 5000);
        started.typeDescription(QStringLiteral("Collée"));
        started.click("Command14");
        QVERIFY(started.dialog().shownBoxes.empty());
        QCOMPARE(recordCount(started), 1);
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::darkBlue));

        clipboard->setText(QStringLiteral("du texte"));
        QTRY_VERIFY_WITH_TIMEOUT(!started.enabled("Command14"), 5000);
    }

    void pasteIsNeverOfferedWithoutABase() {
        const StartedWindow started(mFolder->path());
        QGuiApplication::clipboard()->setImage(plainPicture(50, 30, Qt::red));
        QTest::qWait(60);
        QVERIFY(!started.enabled("Command14"));
    }

    void copyThenPasteAddsTheSameRecordAgain() {
        writeBase(path("album.bdp"), {{plainPicture(70, 20, Qt::darkRed), QStringLiteral("Une")}});
        writeDefaultBase(mFolder->path(), path("album.bdp"));
        const StartedWindow started(mFolder->path());
        started.click("Command15");
        QTRY_VERIFY_WITH_TIMEOUT(started.enabled("Command14"), 5000);
        started.click("Command14");
        QCOMPARE(recordCount(started), 2);
        QCOMPARE(started.description(), QStringLiteral("Une"));
        QCOMPARE(started.window().drawnPictureRect(), QRect(127, 80, 70, 20));
    }
};

}  // namespace pictarium::test

#include "import_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::ImportTest)
