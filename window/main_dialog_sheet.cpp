// The contact sheet: the whole base as thumbnails, whose changes (delete,
// move, description, export) are made here, as the window's own, so that
// they are undone the same way.

#include "window/main_dialog.h"

#include "base/run_errors.h"
#include "engine/exported_name.h"
#include "engine/read_only_base.h"
#include "imaging/picture_writer.h"
#include "window/child_widget_p.h"
#include "window/contact_sheet_window_p.h"
#include "window/display_box_p.h"

#include <QAction>
#include <QDir>

#include <algorithm>

namespace pictarium {

void MainDialog::connectContactSheet() {
    auto* show = createChild<QAction>(this, QStringLiteral("ShowContactSheet"));
    show->setText(QStringLiteral("Planche contact…"));
    show->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(show, &QAction::triggered, this, &MainDialog::showContactSheet);
    addAction(show);
    const QList<QAction*> menu = mUi.PicShow->actions();
    mUi.PicShow->insertAction(menu.value(1), show);
}

void MainDialog::showContactSheet() {
    if (!Base || !Base->isBaseOpen()) {
        return;
    }
    if (mSheet == nullptr) {
        ContactSheetWindow::Commands commands;
        commands.show = [this](std::int32_t index) {
            runRecordCommand([this, index] { Base->MoveTo(index); });
        };
        commands.remove = [this](const QList<std::int32_t>& indexes) {
            runRecordCommand([this, indexes] { deleteRecords(indexes); });
        };
        commands.move = [this](const QList<std::int32_t>& moved, std::int32_t before) {
            runRecordCommand([this, moved, before] { moveRecords(moved, before); });
        };
        commands.editDescription = [this](std::int32_t index, const QString& text) {
            runRecordCommand([this, index, text] { editDescriptionOf(index, text); });
        };
        commands.exportPictures = [this](const QList<std::int32_t>& indexes) {
            runCommand([this, indexes] { exportPictures(indexes); });
        };
        commands.tell = [this](const QString& text) { stopBox(text); };
        mSheet =
            createChild<ContactSheetWindow>(this, QStringLiteral("ContactSheetWindow"),
                                            std::move(commands), mSetup.folders.thumbnailFolder);
    }
    mSheet->show();
    mSheet->showBase(Base->fileName());
    mSheet->raise();
    mSheet->activateWindow();
}

void MainDialog::updateContactSheet() {
    if (mSheet != nullptr && mSheet->isVisible() && Base && Base->isBaseOpen()) {
        mSheet->showBase(Base->fileName());
    }
}

void MainDialog::deleteRecords(const QList<std::int32_t>& indexes) {
    BaseChange change;
    change.kind = BaseChange::Kind::Deleted;
    change.indexes = indexes;
    if (Base->DeleteRecordsBDP(change.indexes, &change.trashFiles)) {
        recordChange(std::move(change));
    }
}

void MainDialog::moveRecords(const QList<std::int32_t>& moved, std::int32_t before) {
    const std::int32_t count = Base->recordCount();
    BaseChange change;
    change.kind = BaseChange::Kind::Moved;
    change.order = orderMoving(count, moved, before);
    if (std::is_sorted(change.order.cbegin(), change.order.cend())) {
        return;  // dropped where they were
    }
    change.shownAfter = static_cast<std::int32_t>(change.order.indexOf(moved.constFirst()));
    change.shownBefore = Base->currentIndex();
    if (Base->ReorderBDP(change.order, change.shownAfter)) {
        recordChange(std::move(change));
    }
}

// One PNG file each, named as export-all names them, in a folder chosen.
void MainDialog::exportPictures(const QList<std::int32_t>& indexes) {
    const std::optional<QString> folder =
        Medlg.chooseFolder(QStringLiteral("Exporter les images dans le dossier"));
    if (!folder || !Base) {
        return;
    }
    const std::optional<ReadOnlyBase> base = ReadOnlyBase::open(Base->fileName());
    if (!base) {
        stopBox(runErrorText(RunError::FileNotFound, Base->fileName()));
        return;
    }
    for (const std::int32_t index : indexes) {
        const QImage picture = base->picture(index);
        const QString path =
            QDir(*folder).filePath(exportedPictureName(index, QStringLiteral("png")));
        try {
            if (picture.isNull()) {
                throw RunFailure(RunError::InvalidPicture, QDir::toNativeSeparators(path));
            }
            writePngFile(picture, path);
        } catch (const RunFailure& failure) {
            stopBox(runErrorText(failure.number(), failure.detail()));
            return;
        }
    }
}

}  // namespace pictarium
