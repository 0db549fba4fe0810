#include "engine/engine_texts.h"
#include "imaging/file_extensions.h"
#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"
#include "window/picture_holder_p.h"

#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <chrono>

namespace pictarium::test {

// Pictures added from files, drops, the command line and the clipboard.
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

    // A GIF file that decodes to nothing.
    QString brokenPicture() const {
        QFile broken(path("cassée.gif"));
        return broken.open(QIODevice::WriteOnly) && broken.write("GIF89a but nothing else") > 0
                   ? broken.fileName()
                   : QString();
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

    void defaultBaseOf(int records) const {
        std::vector<std::pair<QImage, QString>> contents;
        for (int i = 0; i < records; ++i) {
            contents.emplace_back(plainPicture(40, 30, QColor(i * 30, 90, 200)),
                                  QStringLiteral("record %1").arg(i));
        }
        writeDefaultAlbum(mFolder->path(), contents);
    }

    QByteArray baseBytes() const {
        QFile file(path("album.bdp"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QProgressDialog* progressBox(const StartedWindow& started) {
        return started.window().findChild<QProgressDialog*>(QStringLiteral("ProgressBox"));
    }

    // Clicks "Ajouter", and "Annuler" in the progress box as soon as it
    // shows, from within the add; gives back the box's label and button.
    static QStringList addAndCancel(const StartedWindow& started) {
        QStringList shown;
        QTimer watcher;
        watcher.setInterval(0);
        connect(&watcher, &QTimer::timeout, [&] {
            if (QProgressDialog* box = progressBox(started); box != nullptr && box->isVisible()) {
                shown = {box->labelText(), box->findChild<QPushButton*>()->text()};
                box->cancel();
                watcher.stop();
            }
        });
        watcher.start();
        started.click("Command1");
        watcher.stop();
        return shown;
    }

private slots:
    void init() {
        mFolder = std::make_unique<QTemporaryDir>();
        QGuiApplication::clipboard()->clear();
    }

    void addsAPictureChosenInTheBox() {
        writeDefaultAlbum(mFolder->path(), {});
        const StartedWindow started(mFolder->path());
        started.dialog().choose(savedPicture("Photo.Jpg", Qt::magenta, "JPG"));
        started.typeDescription(QStringLiteral("Une photo"));
        started.click("Command1");
        const ShownFileBox& box = started.dialog().shownBoxes.at(0);
        QCOMPARE(box.title, QStringLiteral("ajouter une image..."));
        QCOMPARE(box.fileMode, QFileDialog::ExistingFiles);
        // Every kind of file the box offers is one the window adds.
        const QString offered = box.nameFilters.at(0);
        const QStringList patterns =
            offered.mid(offered.lastIndexOf(u'(') + 1).chopped(1).split(u' ');
        QVERIFY(patterns.contains(QStringLiteral("*.jpg")) &&
                patterns.contains(QStringLiteral("*.png")));
        for (const QString& pattern : patterns) {
            QVERIFY2(pattern.startsWith(QStringLiteral("*.")) &&
                         extensionGroupOf(pattern.mid(2).toUpper()) != ExtensionGroup::Ignored,
                     qPrintable(pattern));
        }
        QCOMPARE(recordCount(started), 1);
        QCOMPARE(started.description(), QStringLiteral("Une photo"));
        QVERIFY(!pending(started));
        QCOMPARE(started.window().drawnPictureRect(), QRect(122, 70, 80, 40));
        QVERIFY(started.enabled("Command13"));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void aPictureWithoutDescriptionWaitsForOne_data() {
        QTest::addColumn<QString>("source");
        for (const char* source : {"box", "drop", "command line"}) {
            QTest::newRow(source) << QString::fromLatin1(source);
        }
    }

    // However it comes, a picture without a description waits for one; once
    // it is typed, "Ajouter" adds that picture without asking for a file.
    void aPictureWithoutDescriptionWaitsForOne() {
        QFETCH(QString, source);
        writeDefaultAlbum(mFolder->path(), {});
        const QString picture = savedPicture("Logo.Bmp", Qt::darkGreen, "BMP");
        const bool commandLine = source == QStringLiteral("command line");
        const StartedWindow started(
            mFolder->path(), commandLine ? QStringLiteral("  ") + picture + "  " : QString());
        if (source == QStringLiteral("box")) {
            started.dialog().choose(picture);
            started.click("Command1");
        } else if (source == QStringLiteral("drop")) {
            QVERIFY(drop(started, {picture}));
        }
        QCOMPARE(started.boxes().takeTexts(),
                 commandLine ? QStringList() : QStringList{EngineText::TextMissing});
        QCOMPARE(recordCount(started), 0);
        QVERIFY(pending(started));
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::white));

        started.typeDescription(QStringLiteral("Logo"));
        started.click("Command1");
        QCOMPARE(started.dialog().shownBoxes.size(), std::size_t{source == "box" ? 1U : 0U});
        QCOMPARE(recordCount(started), 1);
        QVERIFY(!pending(started));
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::darkGreen));
    }

    void ignoresCancelAndSaysWhyAFileIsLeftOut() {
        writeDefaultAlbum(mFolder->path(), {});
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

        // One that does not decode is refused in a box, and not kept either.
        started.dialog().choose(brokenPicture());
        started.click("Command1");
        QCOMPARE(started.boxes().takeTexts().size(), 1);
        QCOMPARE(recordCount(started), 0);
        QVERIFY(!pending(started));

        started.dialog().choose(savedPicture("photo.jpeg", Qt::red, "JPG"));
        started.click("Command1");
        QCOMPARE(recordCount(started), 1);
        QVERIFY(started.boxes().shown.empty());
    }

    void severalFilesChosenOrDroppedGoInOneRewrite() {
        writeDefaultAlbum(mFolder->path(), {});
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
        QVERIFY(drop(started, {path("plage.bmp"), brokenPicture()}));
        QCOMPARE(started.boxes().shown.size(), std::size_t{1});
        QCOMPARE(recordCount(started), 4);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
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
        writeDefaultAlbum(mFolder->path(), {});
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

    void nothingIsTakenWithoutABase() {
        const StartedWindow started(mFolder->path());
        QVERIFY(!drop(started, {savedPicture("a.png", Qt::red, "PNG")}));
        QGuiApplication::clipboard()->setImage(plainPicture(50, 30, Qt::red));
        QTest::qWait(60);
        QVERIFY(!started.enabled("Command14"));
    }

    void copyThenPasteAddsTheSameRecordAgain() {
        writeDefaultAlbum(mFolder->path(),
                          {{plainPicture(70, 20, Qt::darkRed), QStringLiteral("Une")}});
        const StartedWindow started(mFolder->path());
        started.click("Command15");
        QTRY_VERIFY_WITH_TIMEOUT(started.enabled("Command14"), 5000);
        started.click("Command14");
        QCOMPARE(recordCount(started), 2);
        QCOMPARE(started.description(), QStringLiteral("Une"));
        QCOMPARE(started.window().drawnPictureRect(), QRect(127, 80, 70, 20));
        QCOMPARE(started.displayColourAt(162, 90), QColor(Qt::darkRed));
    }

    void cancellingTheProgressBoxAddsNothing_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("label");
        QTest::newRow("one") << 1 << EngineText::AddingPicture;
        QTest::newRow("several") << 2 << EngineText::AddingPictures;
    }

    // A long add shows a progress box; its "Annuler" leaves the base as it
    // was, and one picture waiting to be added.
    void cancellingTheProgressBoxAddsNothing() {
        QFETCH(int, files);
        QFETCH(QString, label);
        defaultBaseOf(2);
        const StartedWindow started(mFolder->path(), QString(), std::chrono::milliseconds(0));
        const QByteArray before = baseBytes();
        started.dialog().chooseMany(QStringList{savedPicture("a.png", Qt::red, "PNG"),
                                                savedPicture("b.png", Qt::blue, "PNG")}
                                        .first(files));
        started.typeDescription(QStringLiteral("annulé"));
        QCOMPARE(addAndCancel(started), (QStringList{label, "Annuler"}));
        QCOMPARE(baseBytes(), before);
        QCOMPARE(recordCount(started), 2);
        QCOMPARE(pending(started), files == 1);
        QVERIFY(started.boxes().takeTexts().isEmpty());
        const QStringList left = QDir(mFolder->path()).entryList({QStringLiteral("bdp*")});
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
        QVERIFY(progressBox(started) == nullptr || !progressBox(started)->isVisible());
        // The next add goes through, without a box for the file.
        if (files == 1) {
            started.click("Command1");
            QCOMPARE(recordCount(started), 3);
            QCOMPARE(started.description(), QStringLiteral("annulé"));
        }
    }

    // A click on "Supprimer" made while the add runs must not delete the
    // record just added once the add is over.
    void aClickMadeDuringAnAddIsNotCarriedOutAfterIt() {
        defaultBaseOf(2);
        const StartedWindow started(mFolder->path());
        started.dialog().choose(savedPicture("new.png", Qt::red, "PNG"));
        started.typeDescription(QStringLiteral("gardé"));
        auto* remove = started.control<QToolButton>("Command6");
        const QPoint centre = remove->rect().center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            auto event =
                std::make_unique<QMouseEvent>(type, centre, remove->mapToGlobal(centre),
                                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::postEvent(remove, event.release());  // Qt takes it
        }
        started.click("Command1");
        QCoreApplication::processEvents();
        QCOMPARE(recordCount(started), 3);
        QCOMPARE(started.description(), QStringLiteral("gardé"));
        // Clicks made afterwards work as ever.
        started.click("Command6");
        QCOMPARE(recordCount(started), 2);
    }

    void closingDuringAnAddClosesOnceItIsDone() {
        defaultBaseOf(1);
        const StartedWindow started(mFolder->path());
        started.dialog().choose(savedPicture("new.png", Qt::red, "PNG"));
        started.typeDescription(QStringLiteral("fini"));
        QTimer::singleShot(0, &started.window(), [&] { started.window().close(); });
        started.click("Command1");
        QVERIFY(started.window().engine() == nullptr);
        QVERIFY(!started.window().isVisible());
        QCOMPARE(baseBytes().at(4), '\x02');  // the add went through first
    }
};

}  // namespace pictarium::test

#include "import_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::ImportTest)
