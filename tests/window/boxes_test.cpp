#include "base/run_errors.h"
#include "tests/window/scripted_dialogs.h"
#include "tests/window/window_test_main.h"
#include "window/busy_pointer_p.h"
#include "window/description_box_p.h"
#include "window/file_dialog_filter_p.h"

#include <QAbstractButton>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

namespace pictarium::test {

class BoxesTest : public QObject {
    Q_OBJECT

private slots:
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
};

}  // namespace pictarium::test

#include "boxes_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::BoxesTest)
