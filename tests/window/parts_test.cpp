#include "base/run_errors.h"
#include "tests/window/scripted_dialogs.h"
#include "tests/window/window_test_main.h"
#include "window/busy_pointer_p.h"
#include "window/description_box_p.h"
#include "window/display_geometry_p.h"
#include "window/file_dialog_filter_p.h"
#include "window/pointer_file_p.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace pictarium::test {

// The window's parts on their own: its file and message boxes, the
// description box, the busy pointer, the fitting of a picture into the
// display and the pointer file to the default base.
class PartsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir mFolder;

    QString pointerFile() const { return mFolder.filePath(QStringLiteral("default.tsi")); }

    void writeRaw(const QByteArray& bytes) const {
        QFile file(pointerFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray readRaw() const {
        QFile file(pointerFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // An existing file whose full path has exactly `length` bytes, in
    // nested folders since one name holds at most 255.
    QString existingPathOfLength(int length) const {
        QString path = mFolder.path() + QLatin1Char('/');
        while (length - path.size() > 200) {
            path += QString(150, QLatin1Char('d'));
            QDir().mkpath(path);
            path += QLatin1Char('/');
        }
        path += QString(length - path.size(), QLatin1Char('p'));
        QFile file(path);
        return file.open(QIODevice::WriteOnly) ? path : QString();
    }

private slots:
    void cleanup() { QFile::remove(pointerFile()); }

    void convertsFiltersToQtNameFilters() {
        QCOMPARE(nameFiltersOf(QStringLiteral("Pictarium(*.bdp;)|*.bdp")),
                 QStringList{QStringLiteral("Pictarium(*.bdp;) (*.bdp)")});
        QCOMPARE(nameFiltersOf(QStringLiteral("Bitmap(*.bmp)|*.bmp|Jpg compliant(*.jpg)|*.jpg")),
                 (QStringList{QStringLiteral("Bitmap(*.bmp) (*.bmp)"),
                              QStringLiteral("Jpg compliant(*.jpg) (*.jpg)")}));
        QCOMPARE(nameFiltersOf(QStringLiteral("Images|*.gif;*.png")),
                 QStringList{QStringLiteral("Images (*.gif *.png)")});
        // The filter the box reports, as it shows it or in full, is found
        // back; a name that is only a prefix of another is not confused.
        const QStringList filters =
            nameFiltersOf(QStringLiteral("Bitmap(*.bmp)|*.bmp|Bitmap|*.dib"));
        QCOMPARE(filterIndexOf(filters, QStringLiteral("Bitmap(*.bmp)")), 1);
        QCOMPARE(filterIndexOf(filters, QStringLiteral("Bitmap")), 2);
        QCOMPARE(filterIndexOf(filters, QStringLiteral("Bitmap (*.dib)")), 2);
        QCOMPARE(filterIndexOf(filters, QStringLiteral("Png")), 0);
    }

    void flagsDecideWhatTheBoxAccepts() {
        ScriptedDialogControl control;
        control.setDialogTitle(QStringLiteral("ajouter une image..."));
        control.setFlags(0x28180C);
        control.setFilter(QStringLiteral("Bitmap(*.bmp)|*.bmp|Jpg compliant(*.jpg)|*.jpg"));
        control.setFilterIndex(2);
        control.ShowOpen();
        control.setFlags(0x28080C);
        control.ShowSave();
        QCOMPARE(control.shownBoxes.size(), std::size_t{2});
        const ShownFileBox& open = control.shownBoxes[0];
        QCOMPARE(open.title, QStringLiteral("ajouter une image..."));
        QCOMPARE(open.acceptMode, QFileDialog::AcceptOpen);
        QCOMPARE(open.fileMode, QFileDialog::ExistingFile);
        // The box shows the filter's name as written, without Qt's patterns.
        QCOMPARE(open.selectedNameFilter, QStringLiteral("Jpg compliant(*.jpg)"));
        const ShownFileBox& save = control.shownBoxes[1];
        QCOMPARE(save.acceptMode, QFileDialog::AcceptSave);
        QCOMPARE(save.fileMode, QFileDialog::AnyFile);
        QVERIFY(!save.confirmsOverwrite);
    }

    void remembersTheLastPathChosen() {
        QTemporaryDir folder;
        const QString chosen = folder.filePath(QStringLiteral("photo.bmp"));
        QVERIFY(QFile(chosen).open(QIODevice::WriteOnly));
        ScriptedDialogControl control;
        control.choose(chosen);
        control.ShowOpen();
        QCOMPARE(control.FileName(), chosen);
        // A box with no file name preset opens on the last choice.
        control.ShowOpen();
        QCOMPARE(control.shownBoxes[1].selectedFiles, QStringList{chosen});
        // One whose name was emptied opens in that folder.
        control.setFileName(QString());
        control.ShowOpen();
        QCOMPARE(control.shownBoxes[2].directory, QDir(folder.path()).canonicalPath());
    }

    // Whatever the session's language, as the tests run in the C locale.
    void fileBoxesGiveDetailsInFrench() {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("photos")));
        QFile picture(folder.filePath(QStringLiteral("plage.bmp")));
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.write(QByteArray(2560, 'x'));
        picture.flush();
        QVERIFY(picture.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(21, 7)),
                                    QFileDevice::FileModificationTime));
        picture.close();
        QFileDialog box;
        CommonDialogControl().configure(box, false);
        box.setDirectory(folder.path());
        const auto* list = box.findChild<QTreeView*>(QStringLiteral("treeView"));
        const QAbstractItemModel* shown = list->model();
        QTRY_COMPARE(shown->rowCount(list->rootIndex()), 2);
        QMap<QString, QStringList> details;
        for (int row = 0; row < 2; ++row) {
            QStringList columns;
            for (int column = 1; column <= 3; ++column) {
                columns.append(shown->index(row, column, list->rootIndex()).data().toString());
            }
            details.insert(shown->index(row, 0, list->rootIndex()).data().toString(), columns);
        }
        QCOMPARE(details.value(QStringLiteral("photos")).value(1), QStringLiteral("Dossier"));
        QCOMPARE(details.value(QStringLiteral("plage.bmp")),
                 (QStringList{QStringLiteral("2,50 Kio"), QStringLiteral("image Windows BMP"),
                              QStringLiteral("08/12/2026 21:07")}));
    }

    void cancelRaisesOnlyWhenAsked() {
        ScriptedDialogControl control;
        control.setFileName(QStringLiteral("/kept.bdp"));
        control.ShowOpen();
        QCOMPARE(control.FileName(), QStringLiteral("/kept.bdp"));
        control.setCancelError(true);
        try {
            control.ShowOpen();
            QFAIL("a cancelled box must raise");
        } catch (const RunFailure& failure) {
            QCOMPARE(failure.number(), CommonDialog::DialogCancelled);
        }
    }

    void messageBoxesSpeakFrench() {
        ScriptedMessageBoxes boxes;
        boxes.answer(QMessageBox::Yes);
        const Message question{QStringLiteral("Une base est déjà ouverte,\r\nla fermer ?"),
                               QStringLiteral("Tessaline Pictarium"), MessageIcon::Question,
                               MessageButtons::YesNo};
        QCOMPARE(boxes.show(question, nullptr), MessageAnswer::Yes);
        QCOMPARE(boxes.show(question, nullptr), MessageAnswer::No);
        const Message stop{QStringLiteral("Fichier introuvable !"), QStringLiteral("PICTARIUM"),
                           MessageIcon::Stop, MessageButtons::Ok};
        QCOMPARE(boxes.show(stop, nullptr), MessageAnswer::Ok);

        QCOMPARE(boxes.shown[0].text, QStringLiteral("Une base est déjà ouverte,\nla fermer ?"));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Question);
        QCOMPARE(boxes.shown[0].buttonTexts,
                 (QStringList{QStringLiteral("&Oui"), QStringLiteral("&Non")}));
        QCOMPARE(boxes.shown[2].title, QStringLiteral("PICTARIUM"));
        QCOMPARE(boxes.shown[2].icon, QMessageBox::Critical);
        QCOMPARE(boxes.shown[2].buttonTexts, QStringList{QStringLiteral("OK")});
    }

    void busyPointerIsAStateNotAStack() {
        showBusyPointer(true);
        showBusyPointer(true);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            const PointerLift lift;  // a box waits for the user
            QVERIFY(!busyPointerShown());
        }
        QVERIFY(busyPointerShown());
        showBusyPointer(false);
        QVERIFY(!busyPointerShown());
    }

    void descriptionKeepsAtMost255Characters() {
        DescriptionBox box(nullptr);
        box.setText(QString(250, QLatin1Char('a')));
        box.moveCursor(QTextCursor::End);
        QTest::keyClicks(&box, QStringLiteral("bcdefgh"));
        QCOMPARE(box.text(), QString(250, QLatin1Char('a')) + QStringLiteral("bcdef"));

        // A line break counts two, as it is stored.
        box.setText(QString(253, QLatin1Char('a')));
        box.moveCursor(QTextCursor::End);
        QTest::keyClick(&box, Qt::Key_Return);
        QTest::keyClicks(&box, QStringLiteral("xyz"));
        QCOMPARE(box.text(), QString(253, QLatin1Char('a')) + QStringLiteral("\r\n"));
    }

    void fitsPictureIntoBox_data() {
        QTest::addColumn<QSize>("picture");
        // The box's size, and the offsets it had: one below zero is kept.
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QRect>("drawn");
        const QRect box(0, 0, 325, 181);
        QTest::newRow("smaller: never enlarged")
            << QSize(100, 50) << box << QRect(112, 65, 100, 50);
        QTest::newRow("wide: width ratio") << QSize(650, 200) << box << QRect(0, 40, 325, 100);
        QTest::newRow("tall: ties go to even") << QSize(200, 400) << box << QRect(117, 0, 90, 181);
        QTest::newRow("exactly the box") << QSize(325, 181) << box << QRect(0, 0, 325, 181);
        QTest::newRow("one pixel too wide") << QSize(326, 100) << box << QRect(0, 40, 325, 100);
        QTest::newRow("odd free space: extra pixel right")
            << QSize(100, 50) << QRect(0, 0, 326, 181) << QRect(113, 65, 100, 50);
        QTest::newRow("zero width that fits") << QSize(0, 50) << box << QRect(162, 65, 0, 50);
        QTest::newRow("zero width too tall: natural size")
            << QSize(0, 400) << box << QRect(162, -109, 0, 400);
        QTest::newRow("offsets below zero kept")
            << QSize(650, 200) << QRect(-1, -5, 325, 181) << QRect(-1, -5, 325, 100);
    }

    void fitsPictureIntoBox() {
        QFETCH(QSize, picture);
        QFETCH(QRect, box);
        QFETCH(QRect, drawn);
        int offX = box.x();
        int offY = box.y();
        int boxW = box.width();
        int boxH = box.height();
        FitPicture(picture.width(), picture.height(), boxW, boxH, offX, offY);
        QCOMPARE(QRect(offX, offY, boxW, boxH), drawn);
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

    void readsThePointerFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("named");
        const QString base = mFolder.filePath(QStringLiteral("a.bdp"));
        QVERIFY(QFile(base).open(QIODevice::WriteOnly));
        const QString path999 = existingPathOfLength(999);
        QVERIFY(!path999.isEmpty());
        QTest::newRow("up to the first NUL")
            << QFile::encodeName(base) + QByteArray("\0rest of an older path", 23) << base;
        QTest::newRow("999 bytes without NUL") << QFile::encodeName(path999) << path999;
        // Even when the first 999 name an existing file.
        QTest::newRow("1000 bytes without NUL") << QFile::encodeName(path999) + "x" << QString();
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("a base gone")
            << QFile::encodeName(mFolder.filePath(QStringLiteral("gone.bdp"))) << QString();
    }

    // What the pointer file names, when it still exists; the file itself is
    // left alone.
    void readsThePointerFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, named);
        QCOMPARE(readPointerFile(pointerFile()), QString());  // none yet
        writeRaw(bytes);
        QCOMPARE(readPointerFile(pointerFile()), named);
        QCOMPARE(readRaw(), bytes);
    }

    void writingReplacesTheWholeFile() {
        const QString longer = mFolder.filePath(QStringLiteral("a/much/longer/path/base.bdp"));
        const QString shorter = mFolder.filePath(QStringLiteral("b.bdp"));
        QVERIFY(writePointerFile(pointerFile(), longer));
        QVERIFY(writePointerFile(pointerFile(), shorter));
        QCOMPARE(readRaw(), QFile::encodeName(shorter));
    }
};

}  // namespace pictarium::test

#include "parts_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::PartsTest)
