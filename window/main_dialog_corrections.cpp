// Corrections of the record on show, from the display box's menu: a new
// description, another place in the base.

#include "window/main_dialog.h"

#include "window/child_widget_p.h"
#include "window/display_box_p.h"
#include "window/trash_window_p.h"

#include <QAction>
#include <QToolButton>

namespace pictarium {

void MainDialog::connectCorrections() {
    auto* edit = createChild<QAction>(this, QStringLiteral("EditDescription"));
    edit->setText(QStringLiteral("Modifier la description…"));
    edit->setShortcut(QKeySequence(Qt::Key_F2));
    connect(edit, &QAction::triggered, this,
            [this] { runRecordCommand([this] { editDescription(); }); });
    auto* move = createChild<QAction>(this, QStringLiteral("MoveRecord"));
    move->setText(QStringLiteral("Déplacer vers la position…"));
    connect(move, &QAction::triggered, this,
            [this] { runRecordCommand([this] { moveRecord(); }); });
    auto* trash = createChild<QAction>(this, QStringLiteral("ShowTrash"));
    trash->setText(QStringLiteral("Corbeille…"));
    connect(trash, &QAction::triggered, this, &MainDialog::showTrash);
    // In the display box's menu; F2 anywhere in the window.
    addAction(edit);
    mUi.PicShow->addAction(edit);
    mUi.PicShow->addAction(move);
    mUi.PicShow->addAction(trash);
    mUi.PicShow->setContextMenuPolicy(Qt::ActionsContextMenu);
    mCorrections = {edit, move};
}

void MainDialog::enableCorrections(bool enabled) {
    for (QAction* action : mCorrections) {
        action->setEnabled(enabled);
    }
}

void MainDialog::editDescription() {
    if (!Base || !mUi.Command6->isEnabled()) {
        return;
    }
    editDescriptionOf(Base->currentIndex(), Base->currentText());
}

void MainDialog::editDescriptionOf(std::int32_t index, const QString& description) {
    const std::optional<QString> text = mSetup.messageBoxes->askText(
        QStringLiteral("Modifier la description"),
        QStringLiteral("Description de l'enregistrement %1 (1 à 255 caractères) :").arg(index + 1),
        description, this);
    if (text && Base->ChangeTextsBDP({{index, *text}})) {
        BaseChange change;
        change.kind = BaseChange::Kind::TextChanged;
        change.index = index;
        change.before = description;
        change.after = Base->currentText();
        recordChange(std::move(change));
    }
}

void MainDialog::moveRecord() {
    if (!Base || !mUi.Command6->isEnabled()) {
        return;
    }
    const std::int32_t index = Base->currentIndex();
    const std::int32_t count = Base->recordCount();
    const std::optional<int> position = mSetup.messageBoxes->askNumber(
        QStringLiteral("Déplacer l'enregistrement"),
        QStringLiteral("Nouvelle position de l'enregistrement %1 (1 à %2) :")
            .arg(index + 1)
            .arg(count),
        index + 1, 1, count, this);
    if (position && *position != index + 1 && Base->MoveRecordBDP(index, *position - 1)) {
        const std::int32_t to = *position - 1;
        BaseChange change;
        change.kind = BaseChange::Kind::Moved;
        change.order = orderMoving(count, {index}, to > index ? to + 1 : to);
        change.shownAfter = to;
        change.shownBefore = index;
        recordChange(std::move(change));
    }
}

void MainDialog::showTrash() {
    if (!Base || !Base->isBaseOpen()) {
        return;
    }
    if (mTrash == nullptr) {
        const auto restored = [this](const QList<std::int32_t>& placed) {
            BaseChange change;
            change.kind = BaseChange::Kind::Restored;
            change.indexes = placed;
            recordChange(std::move(change));
        };
        mTrash = createChild<TrashWindow>(this, QStringLiteral("TrashWindow"), *Base,
                                          *mSetup.messageBoxes, restored);
    }
    mTrash->showTrash();
}

}  // namespace pictarium
