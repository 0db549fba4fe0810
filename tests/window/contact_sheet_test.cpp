#include "engine/read_only_base.h"
#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"
#include "window/contact_sheet_model_p.h"
#include "window/contact_sheet_window_p.h"
#include "window/edit_history_p.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

namespace pictarium::test {

namespace {

const std::vector<std::pair<QImage, QString>> Records = {
    {plainPicture(100, 50, Qt::red), QStringLiteral("Pomme rouge")},
    {plainPicture(650, 200, Qt::green), QStringLiteral("Herbe verte")},
    {plainPicture(200, 400, Qt::blue), QStringLiteral("Ciel bleu")},
    {plainPicture(30, 30, Qt::yellow), QStringLiteral("Été à la plage")}};

QStringList descriptionsOf(const QString& path) {
    return ReadOnlyBase::open(path)->descriptions().value_or(QStringList());
}

}  // namespace

// The contact sheet: what it shows, and the changes made from it.
class ContactSheetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<StartedWindow> mStarted;
    QString mBase;
    ContactSheetWindow* mSheet = nullptr;

    ContactSheetModel& model() const { return mSheet->model(); }
    QStringList shownNames() const {
        QStringList names;
        for (int row = 0; row < model().rowCount(); ++row) {
            names.append(model().index(row).data(Qt::AccessibleTextRole).toString());
        }
        return names;
    }
    void select(const QList<int>& rows) const {
        QItemSelectionModel* selection = mSheet->grid().selectionModel();
        selection->clearSelection();
        selection->setCurrentIndex(model().index(rows.constFirst()), QItemSelectionModel::NoUpdate);
        for (const int row : rows) {
            selection->select(model().index(row), QItemSelectionModel::Select);
        }
    }
    // Whether the thumbnail of `row` shows `colour` at its middle, give or
    // take what scaling and the cache's compression change.
    bool showsColour(int row, QRgb colour) const {
        const QImage shown = model().index(row).data(Qt::DecorationRole).value<QPixmap>().toImage();
        const QRgb middle = shown.pixel(shown.width() / 2, shown.height() / 2);
        return qAbs(qRed(middle) - qRed(colour)) <= 3 &&
               qAbs(qGreen(middle) - qGreen(colour)) <= 3 &&
               qAbs(qBlue(middle) - qBlue(colour)) <= 3;
    }
    void trigger(const char* name) const {
        mSheet->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    void undo() const {
        mStarted->window().findChild<QAction*>(QStringLiteral("UndoChange"))->trigger();
    }

private slots:
    void init() {
        mFolder = std::make_unique<QTemporaryDir>();
        mBase = writeDefaultAlbum(mFolder->path(), Records);
        mStarted = std::make_unique<StartedWindow>(mFolder->path());
        mStarted->window().findChild<QAction*>(QStringLiteral("ShowContactSheet"))->trigger();
        mSheet = mStarted->control<ContactSheetWindow>("ContactSheetWindow");
        QVERIFY(mSheet != nullptr && mSheet->isVisible());
    }

    void cleanup() { mStarted.reset(); }

    void itemsAreNamedAndFilteredAsTheSearchCompares_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("none") << QString()
                              << QStringList{"1 – Pomme rouge", "2 – Herbe verte", "3 – Ciel bleu",
                                             "4 – Été à la plage"};
        // Which descriptions match is the engine's to say, as for a search.
        QTest::newRow("some") << "ROUGE" << QStringList{"1 – Pomme rouge"};
        QTest::newRow("no record") << "Ete" << QStringList{};
    }

    void itemsAreNamedAndFilteredAsTheSearchCompares() {
        QFETCH(QString, filter);
        QFETCH(QStringList, shown);
        QCOMPARE(mSheet->windowTitle(), QStringLiteral("Planche contact – album.bdp"));
        auto* field = mSheet->findChild<QLineEdit*>(QStringLiteral("ContactSheetFilter"));
        QCOMPARE(field->accessibleName(), QStringLiteral("Filtrer"));
        field->setText(filter);
        QCOMPARE(shownNames(), shown);
    }

    // Made off the window's thread, each thumbnail shows its own record.
    void thumbnailsComeForEveryRecord() {
        for (int row = 0; row < 4; ++row) {
            QTRY_VERIFY(model().hasThumbnail(row));
            QVERIFY(showsColour(row, Records[row].first.pixel(0, 0)));
        }
    }

    // Several records leave in one delete, and come back in one undo.
    void theSelectionIsDeletedAndComesBack() {
        select({0, 2});
        trigger("SheetDelete");
        QCOMPARE(descriptionsOf(mBase), (QStringList{"Herbe verte", "Été à la plage"}));
        QCOMPARE(shownNames(), (QStringList{"1 – Herbe verte", "2 – Été à la plage"}));
        undo();
        QCOMPARE(shownNames().size(), 4);
        QCOMPARE(descriptionsOf(mBase).at(2), QStringLiteral("Ciel bleu"));
    }

    // Dropped on a record, the selection goes before it, in one rewrite.
    void droppedRecordsMoveBeforeTheRecordUnderThem() {
        select({0, 1});
        const std::unique_ptr<QMimeData> dragged(
            model().mimeData({model().index(0), model().index(1)}));
        const QPoint target = mSheet->grid().visualRect(model().index(3)).center();
        QDragEnterEvent enter(target, Qt::MoveAction, dragged.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(mSheet->grid().viewport(), &enter);
        QDropEvent drop(target, Qt::MoveAction, dragged.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(mSheet->grid().viewport(), &drop);
        QCOMPARE(descriptionsOf(mBase),
                 (QStringList{"Ciel bleu", "Pomme rouge", "Herbe verte", "Été à la plage"}));
        QCOMPARE(mStarted->description(), QStringLiteral("Pomme rouge"));
        undo();
        QCOMPARE(descriptionsOf(mBase),
                 (QStringList{"Pomme rouge", "Herbe verte", "Ciel bleu", "Été à la plage"}));
    }

    void orderMovingPutsTheRecordsTogether_data() {
        QTest::addColumn<QList<std::int32_t>>("moved");
        QTest::addColumn<std::int32_t>("before");
        QTest::addColumn<QList<std::int32_t>>("order");
        QTest::newRow("one forward")
            << QList<std::int32_t>{0} << 3 << QList<std::int32_t>{1, 2, 0, 3, 4};
        QTest::newRow("one back") << QList<std::int32_t>{4} << 1
                                  << QList<std::int32_t>{0, 4, 1, 2, 3};
        QTest::newRow("scattered, to the end")
            << QList<std::int32_t>{3, 0} << 5 << QList<std::int32_t>{1, 2, 4, 0, 3};
        QTest::newRow("before one of them")
            << QList<std::int32_t>{1, 3} << 3 << QList<std::int32_t>{0, 2, 1, 3, 4};
    }

    void orderMovingPutsTheRecordsTogether() {
        QFETCH(QList<std::int32_t>, moved);
        QFETCH(std::int32_t, before);
        QFETCH(QList<std::int32_t>, order);
        QCOMPARE(orderMoving(5, moved, before), order);
        QList<std::int32_t> undone;
        for (const std::int32_t k : inverseOrder(order)) {
            undone.append(order[k]);
        }
        QCOMPARE(undone, (QList<std::int32_t>{0, 1, 2, 3, 4}));
    }

    // Another program's change shows without anything done here, and no
    // thumbnail stays with the place its record left.
    void anotherProgramsChangeShows() {
        QTRY_VERIFY(model().hasThumbnail(0) && model().hasThumbnail(1));
        const QString other = mFolder->filePath(QStringLiteral("other.bdp"));
        writeBase(other, {Records[1], {plainPicture(8, 8, Qt::white), QStringLiteral("Seul")}});
        std::filesystem::rename(other.toStdString(), mBase.toStdString());
        QTRY_COMPARE(shownNames(), (QStringList{"1 – Herbe verte", "2 – Seul"}));
        QTRY_VERIFY(model().hasThumbnail(0) && model().hasThumbnail(1));
        QVERIFY(showsColour(0, qRgb(0, 255, 0)));
        QVERIFY(showsColour(1, qRgb(255, 255, 255)));
    }

    void theSelectionIsExportedAndPrinted() {
        select({1, 3});
        const QString folder = mFolder->filePath(QStringLiteral("export"));
        QVERIFY(QDir().mkpath(folder));
        mStarted->dialog().choose(folder);
        trigger("SheetExport");
        QCOMPARE(QDir(folder).entryList(QDir::Files), (QStringList{"00001.png", "00003.png"}));
        QCOMPARE(QImage(folder + "/00003.png").pixelColor(5, 5), QColor(Qt::yellow));

        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(mFolder->filePath(QStringLiteral("catalogue.pdf")));
        QVERIFY(mSheet->printCatalogue(printer, mSheet->selectedRecords(), 2));
        QFile pdf(printer.outputFileName());
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().count("/Subtype /Image") >= 2);
    }
};

}  // namespace pictarium::test

#include "contact_sheet_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::ContactSheetTest)
