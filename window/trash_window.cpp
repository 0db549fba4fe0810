#include "window/trash_window_p.h"

#include "engine/bdp_format.h"
#include "engine/class_dbp.h"
#include "window/child_widget_p.h"
#include "window/message_boxes.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>
#include <utility>

namespace pictarium {

namespace {

constexpr int IconSize = 48;
enum Column { Picture, Description, Position, Deleted };

QString displayedText(QByteArray stored) {
    FlipBytes(stored);
    return BytesToText(stored);
}

}  // namespace

TrashWindow::TrashWindow(ClassDBP& base, MessageBoxes& boxes, Restored restored, QWidget* parent)
    : QDialog(parent), mBase(base), mBoxes(boxes), mRestored(std::move(restored)) {
    setObjectName(QStringLiteral("TrashWindow"));
    resize(620, 400);
    auto* layout = createChild<QVBoxLayout>(this, QStringLiteral("TrashLayout"));
    mList = createChild<QTreeWidget>(this, QStringLiteral("TrashList"));
    mList->setAccessibleName(QStringLiteral("Enregistrements supprimés"));
    mList->setHeaderLabels({QStringLiteral("Image"), QStringLiteral("Description"),
                            QStringLiteral("Position"), QStringLiteral("Supprimé le")});
    mList->setIconSize(QSize(IconSize, IconSize));
    mList->setRootIsDecorated(false);
    mList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mList->header()->setSectionResizeMode(Description, QHeaderView::Stretch);
    layout->addWidget(mList);
    auto* buttons = createChild<QDialogButtonBox>(this, QStringLiteral("TrashButtons"));
    mRestore = buttons->addButton(QStringLiteral("Restaurer"), QDialogButtonBox::ActionRole);
    mEmpty = buttons->addButton(QStringLiteral("Vider la corbeille"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("Fermer"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(mRestore, &QPushButton::clicked, this, &TrashWindow::restoreChosen);
    connect(mEmpty, &QPushButton::clicked, this, &TrashWindow::emptyTrash);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    connect(mList, &QTreeWidget::itemSelectionChanged, this,
            [this] { mRestore->setEnabled(!mList->selectedItems().isEmpty()); });
}

void TrashWindow::showTrash() {
    setWindowTitle(QStringLiteral("Corbeille – ") + QFileInfo(mBase.fileName()).fileName());
    fill();
    show();
    raise();
    activateWindow();
}

void TrashWindow::fill() {
    mList->clear();
    const QLocale french(QLocale::French, QLocale::France);
    for (const TrashedRecord& record : mBase.TrashBDP()) {
        auto item = std::make_unique<QTreeWidgetItem>();
        const QImage picture = mBase.TrashPicture(record);
        if (!picture.isNull()) {
            // Stored pictures may come back indexed: scaled smoothly in true colour.
            const QImage small =
                picture.convertToFormat(QImage::Format_RGB32)
                    .scaled(IconSize, IconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            item->setIcon(Picture, QIcon(QPixmap::fromImage(small)));
        }
        item->setText(Description, displayedText(record.text));
        item->setText(Position, QString::number(record.formerIndex + 1));
        item->setText(Deleted, french.toString(record.deleted, QLocale::ShortFormat));
        item->setData(Picture, Qt::UserRole, record.file);
        mList->addTopLevelItem(item.release());  // the list takes it
    }
    mRestore->setEnabled(false);
    mEmpty->setEnabled(mList->topLevelItemCount() > 0);
}

void TrashWindow::restoreChosen() {
    QStringList chosen;
    for (const QTreeWidgetItem* item : mList->selectedItems()) {
        chosen.append(item->data(Picture, Qt::UserRole).toString());
    }
    QList<TrashedRecord> records;
    for (const TrashedRecord& record : mBase.TrashBDP()) {
        if (chosen.contains(record.file)) {
            records.append(record);
        }
    }
    QList<std::int32_t> placed;
    if (!records.isEmpty() && mBase.RestoreBDP(records, &placed)) {
        mRestored(placed);
    }
    fill();
}

void TrashWindow::emptyTrash() {
    const Message question{QStringLiteral("Vider la corbeille ? Les enregistrements qu'elle garde "
                                          "seront perdus pour de bon."),
                           QStringLiteral("Tessaline Pictarium"), MessageIcon::Question,
                           MessageButtons::YesNo};
    if (mBoxes.show(question, this) == MessageAnswer::Yes) {
        (void)mBase.EmptyTrashBDP();
    }
    fill();
}

}  // namespace pictarium
