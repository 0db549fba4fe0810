// Undo and redo of the changes made from this window: each is undone by
// the rewrite that is its inverse, deleted records coming back from the
// base's trash.

#include "window/main_dialog.h"

#include "window/child_widget_p.h"
#include "window/display_box_p.h"

#include <QAction>

namespace pictarium {

namespace {

const QString ChangedElsewhere = QStringLiteral(
    "La base a été modifiée par un autre programme depuis le dernier changement "
    "fait ici : il ne peut plus être annulé ni rétabli.");

}  // namespace

void MainDialog::connectHistory() {
    mUndoAction = createChild<QAction>(this, QStringLiteral("UndoChange"));
    mUndoAction->setShortcut(QKeySequence::Undo);
    connect(mUndoAction, &QAction::triggered, this,
            [this] { runRecordCommand([this] { stepHistory(true); }); });
    mRedoAction = createChild<QAction>(this, QStringLiteral("RedoChange"));
    mRedoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(mRedoAction, &QAction::triggered, this,
            [this] { runRecordCommand([this] { stepHistory(false); }); });
    for (QAction* action : {mUndoAction, mRedoAction}) {
        addAction(action);
        mUi.PicShow->addAction(action);
    }
    showHistory();
}

void MainDialog::showHistory() {
    const bool here = Base && mHistory.isOf(Base->fileName());
    const bool undo = here && mHistory.canUndo();
    const bool redo = here && mHistory.canRedo();
    mUndoAction->setEnabled(undo);
    mUndoAction->setText(undo ? QStringLiteral("Annuler : ") + mHistory.nextUndo().name()
                              : QStringLiteral("Annuler"));
    mRedoAction->setEnabled(redo);
    mRedoAction->setText(redo ? QStringLiteral("Rétablir : ") + mHistory.nextRedo().name()
                              : QStringLiteral("Rétablir"));
}

void MainDialog::recordChange(BaseChange change) {
    mHistory.done(std::move(change), Base->fileName());
    showHistory();
}

bool MainDialog::restoreFromTrash(const QStringList& files) {
    QList<TrashedRecord> records;
    for (const TrashedRecord& record : Base->TrashBDP()) {
        if (files.contains(record.file)) {
            records.append(record);
        }
    }
    return records.size() == files.size() && Base->RestoreBDP(records);
}

void MainDialog::deleteShown() {
    deleteRecords({Base->currentIndex()});
}

// Undoes the last change (`back`) or does again the last undone, as the
// rewrite that leaves the base as it was before that step.
void MainDialog::stepHistory(bool back) {
    if (!Base || !mHistory.isOf(Base->fileName()) ||
        !(back ? mHistory.canUndo() : mHistory.canRedo())) {
        return;
    }
    if (!mHistory.isCurrent()) {
        mHistory.clear();
        showHistory();
        (void)showMessage({ChangedElsewhere, QStringLiteral("Tessaline Pictarium"),
                           MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    BaseChange change = back ? mHistory.takeUndo() : mHistory.takeRedo();
    // Added and restored records leave when undone; deleted ones come back.
    const bool removing = (change.kind != BaseChange::Kind::Deleted) == back;
    bool done = false;
    switch (change.kind) {
        case BaseChange::Kind::Added:
        case BaseChange::Kind::Restored:
        case BaseChange::Kind::Deleted:
            done = removing ? Base->DeleteRecordsBDP(change.indexes, &change.trashFiles)
                            : restoreFromTrash(change.trashFiles);
            break;
        case BaseChange::Kind::TextChanged:
            done = Base->ChangeTextsBDP({{change.index, back ? change.before : change.after}});
            break;
        case BaseChange::Kind::Moved:
            done = back ? Base->ReorderBDP(inverseOrder(change.order), change.shownBefore)
                        : Base->ReorderBDP(change.order, change.shownAfter);
            break;
    }
    if (!done) {
        mHistory.clear();  // the engine has said why
    } else if (back) {
        mHistory.undone(std::move(change), Base->fileName());
    } else {
        mHistory.redone(std::move(change), Base->fileName());
    }
    showHistory();
}

}  // namespace pictarium
