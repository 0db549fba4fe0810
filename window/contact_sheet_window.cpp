#include "window/contact_sheet_window_p.h"

#include "catalogue/catalogue_printer.h"
#include "engine/read_only_base.h"
#include "thumbnails/thumbnail_maker.h"
#include "window/child_widget_p.h"
#include "window/contact_sheet_grid_p.h"
#include "window/contact_sheet_model_p.h"

#include <QAction>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace pictarium {

namespace {

constexpr int FirstEdge = 160;
constexpr int EdgeStep = 16;
// Thumbnails asked for beyond the visible ones, on each side, in screens.
constexpr int ScreensAhead = 2;

}  // namespace

ContactSheetWindow::ContactSheetWindow(Commands commands, const QString& thumbnailFolder,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window),
      mCommands(std::move(commands)),
      mMaker(std::make_unique<ThumbnailMaker>(thumbnailFolder)) {
    mModel = createChild<ContactSheetModel>(this, QStringLiteral("ContactSheetModel"));
    mModel->setMoveRecords([this](const QList<std::int32_t>& moved, std::int32_t before) {
        mCommands.move(moved, before);
    });
    mRequest = createChild<QTimer>(this, QStringLiteral("ContactSheetRequest"));
    mRequest->setSingleShot(true);
    connect(mRequest, &QTimer::timeout, this, &ContactSheetWindow::requestVisible);
    buildControls();
    addActions();
    connect(mMaker.get(), &ThumbnailMaker::thumbnailReady, this,
            [this](quint64 generation, int index, const QImage& thumbnail) {
                if (generation == mGeneration) {
                    mModel->setThumbnail(index, thumbnail);
                }
            });
    mWatcher = createChild<QFileSystemWatcher>(this, QStringLiteral("ContactSheetWatcher"));
    mReread = createChild<QTimer>(this, QStringLiteral("ContactSheetReread"));
    mReread->setSingleShot(true);
    mReread->setInterval(250);
    connect(mReread, &QTimer::timeout, this, [this] { showBase(mPath); });
    // Another program's change: the base file replaced, or its folder changed.
    connect(mWatcher, &QFileSystemWatcher::fileChanged, mReread, qOverload<>(&QTimer::start));
    connect(mWatcher, &QFileSystemWatcher::directoryChanged, mReread, qOverload<>(&QTimer::start));
    resize(900, 640);
}

ContactSheetWindow::~ContactSheetWindow() = default;

void ContactSheetWindow::buildControls() {
    auto* layout = createChild<QVBoxLayout>(this, QStringLiteral("ContactSheetLayout"));
    auto* bar = createChild<QWidget>(this, QStringLiteral("ContactSheetBar"));
    auto* barLayout = createChild<QHBoxLayout>(bar, QStringLiteral("ContactSheetBarLayout"));
    barLayout->setContentsMargins(0, 0, 0, 0);
    mFilter = createChild<QLineEdit>(bar, QStringLiteral("ContactSheetFilter"));
    mFilter->setAccessibleName(QStringLiteral("Filtrer"));
    mFilter->setPlaceholderText(QStringLiteral("Filtrer les descriptions"));
    mFilter->setClearButtonEnabled(true);
    auto* sizeLabel = createChild<QLabel>(bar, QStringLiteral("ContactSheetSizeLabel"));
    sizeLabel->setText(QStringLiteral("Taille :"));
    mSize = createChild<QSlider>(bar, QStringLiteral("ContactSheetSize"));
    mSize->setOrientation(Qt::Horizontal);
    mSize->setRange(SmallestEdge, LargestEdge);
    mSize->setSingleStep(EdgeStep);
    mSize->setPageStep(EdgeStep * 4);
    mSize->setValue(FirstEdge);
    mSize->setAccessibleName(QStringLiteral("Taille des vignettes"));
    mSize->setMaximumWidth(180);
    sizeLabel->setBuddy(mSize);
    auto* print = createChild<QPushButton>(bar, QStringLiteral("ContactSheetPrint"));
    print->setText(QStringLiteral("Imprimer…"));
    barLayout->addWidget(mFilter, 1);
    barLayout->addWidget(sizeLabel);
    barLayout->addWidget(mSize);
    barLayout->addWidget(print);
    layout->addWidget(bar);

    mGrid = createChild<ContactSheetGrid>(this, QStringLiteral("ContactSheetGrid"));
    mGrid->setAccessibleName(QStringLiteral("Enregistrements"));
    mGrid->setModel(mModel);
    mGrid->setViewMode(QListView::IconMode);
    mGrid->setMovement(QListView::Static);
    mGrid->setResizeMode(QListView::Adjust);
    mGrid->setUniformItemSizes(true);
    mGrid->setWordWrap(true);
    mGrid->setTextElideMode(Qt::ElideRight);
    mGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mGrid->setDragDropMode(QAbstractItemView::DragDrop);
    mGrid->setDefaultDropAction(Qt::MoveAction);
    mGrid->setDragEnabled(true);
    mGrid->setAcceptDrops(true);
    mGrid->viewport()->setAcceptDrops(true);
    mGrid->setDropIndicatorShown(true);
    mGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mGrid->viewport()->installEventFilter(this);
    layout->addWidget(mGrid, 1);
    setEdge(FirstEdge);

    connect(mFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        mModel->setFilter(text);
        mRequest->start();
    });
    connect(mSize, &QSlider::valueChanged, this, &ContactSheetWindow::setEdge);
    connect(print, &QPushButton::clicked, this, &ContactSheetWindow::print);
    connect(mGrid, &QListView::activated, this,
            [this](const QModelIndex& item) { mCommands.show(mModel->baseIndexAt(item.row())); });
    connect(mGrid->verticalScrollBar(), &QScrollBar::valueChanged, mRequest,
            qOverload<>(&QTimer::start));
}

void ContactSheetWindow::addActions() {
    const auto add = [this](const char* name, const QString& text, const QKeySequence& key,
                            const std::function<void()>& action) {
        auto* item = createChild<QAction>(mGrid, QString::fromLatin1(name));
        item->setText(text);
        item->setShortcut(key);
        item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(item, &QAction::triggered, this, action);
        mGrid->addAction(item);
    };
    add("SheetShow", QStringLiteral("Afficher"), QKeySequence(), [this] {
        if (currentRecord() >= 0) {
            mCommands.show(currentRecord());
        }
    });
    add("SheetEdit", QStringLiteral("Modifier la description…"), QKeySequence(Qt::Key_F2), [this] {
        if (currentRecord() >= 0) {
            mCommands.editDescription(currentRecord(), mModel->description(currentRecord()));
        }
    });
    add("SheetDelete", QStringLiteral("Supprimer"), QKeySequence(QKeySequence::Delete), [this] {
        if (!selectedRecords().isEmpty()) {
            mCommands.remove(selectedRecords());
        }
    });
    add("SheetExport", QStringLiteral("Exporter…"), QKeySequence(), [this] {
        if (!selectedRecords().isEmpty()) {
            mCommands.exportPictures(selectedRecords());
        }
    });
    add("SheetClose", QStringLiteral("Fermer"), QKeySequence(Qt::Key_Escape), [this] { close(); });
}

void ContactSheetWindow::setEdge(int edge) {
    const int clamped = std::clamp(edge, SmallestEdge, LargestEdge);
    mModel->setThumbnailEdge(clamped);
    mGrid->setIconSize(QSize(clamped, clamped));
    // Room for two lines of text under each thumbnail.
    const int line = mGrid->fontMetrics().lineSpacing();
    mGrid->setGridSize(QSize(clamped + 24, clamped + 2 * line + 16));
    if (mSize->value() != clamped) {
        mSize->setValue(clamped);
    }
    mRequest->start();
}

void ContactSheetWindow::showBase(const QString& path) {
    setWindowTitle(QStringLiteral("Planche contact – ") + QFileInfo(path).fileName());
    const std::optional<FileStatus> now = statusOf(path);
    if (path == mPath && now && mReadStatus && now->isUnchanged(*mReadStatus)) {
        return;
    }
    if (path != mPath) {
        if (!mWatcher->files().isEmpty()) {
            mWatcher->removePaths(mWatcher->files());
        }
        if (!mWatcher->directories().isEmpty()) {
            mWatcher->removePaths(mWatcher->directories());
        }
        mWatcher->addPath(QFileInfo(path).absolutePath());
    }
    mPath = path;
    mModel->setBasePath(path);
    reload();
}

void ContactSheetWindow::reload() {
    const std::optional<FileStatus> status = statusOf(mPath);
    const std::optional<ReadOnlyBase> base = ReadOnlyBase::open(mPath);
    const std::optional<QStringList> descriptions =
        base ? base->descriptions() : std::optional<QStringList>();
    const int scrolled = mGrid->verticalScrollBar()->value();
    mModel->setDescriptions(descriptions.value_or(QStringList()));
    mReadStatus = descriptions ? status : std::nullopt;
    if (!mWatcher->files().contains(mPath) && QFileInfo::exists(mPath)) {
        mWatcher->addPath(mPath);
    }
    mGeneration = mMaker->setBase(mPath);
    mGrid->verticalScrollBar()->setValue(scrolled);
    requestVisible();
}

// The visible records first, then those a few screens away on each side.
void ContactSheetWindow::requestVisible() {
    const int rows = mModel->rowCount();
    if (rows == 0 || !isVisible()) {
        return;
    }
    const QRect view = mGrid->viewport()->rect();
    const QModelIndex first = mGrid->indexAt(view.topLeft() + QPoint(4, 4));
    const int top = first.isValid() ? first.row() : 0;
    const QSize cell = mGrid->gridSize().expandedTo(QSize(1, 1));
    const int perScreen =
        std::max(1, view.width() / cell.width()) * (view.height() / cell.height() + 2);
    QList<int> wanted;
    const auto want = [&](int from, int to) {
        for (int row = std::max(0, from); row < std::min(rows, to); ++row) {
            const std::int32_t index = mModel->baseIndexAt(row);
            if (!mModel->hasThumbnail(index)) {
                wanted.append(index);
            }
        }
    };
    want(top, top + perScreen);
    want(top + perScreen, top + perScreen * (1 + ScreensAhead));
    want(top - perScreen * ScreensAhead, top);
    mMaker->request(wanted);
}

QList<std::int32_t> ContactSheetWindow::selectedRecords() const {
    QList<std::int32_t> records;
    for (const QModelIndex& item : mGrid->selectionModel()->selectedIndexes()) {
        records.append(mModel->baseIndexAt(item.row()));
    }
    std::sort(records.begin(), records.end());
    return records;
}

std::int32_t ContactSheetWindow::currentRecord() const {
    const QModelIndex item = mGrid->currentIndex();
    return item.isValid() ? mModel->baseIndexAt(item.row()) : -1;
}

bool ContactSheetWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mGrid->viewport()) {
        if (event->type() == QEvent::Wheel) {
            const auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->modifiers().testFlag(Qt::ControlModifier)) {
                const int steps = wheel->angleDelta().y() / 120;
                setEdge(mSize->value() + steps * EdgeStep);
                return true;
            }
        } else if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
            mRequest->start();
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ContactSheetWindow::printCatalogue(QPrinter& printer, const QList<std::int32_t>& records,
                                        int columns) const {
    const std::optional<ReadOnlyBase> base = ReadOnlyBase::open(mPath);
    if (!base) {
        return false;
    }
    CataloguePrinter catalogue(printer, QFileInfo(mPath).fileName(), QDate::currentDate(), columns);
    return catalogue.print(records.size(), [&](qsizetype at) -> std::optional<CatalogueRecord> {
        const std::int32_t index = records[at];
        return CatalogueRecord{index + 1, mModel->description(index), base->picture(index)};
    });
}

// The records shown, or the selection when the print box is told so, in
// the columns chosen on the box's own tab.
void ContactSheetWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QFileInfo(mPath).completeBaseName());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimer le catalogue"));
    auto* columnsTab = createChild<QWidget>(&dialog, QStringLiteral("CatalogueTab"));
    columnsTab->setWindowTitle(QStringLiteral("Catalogue"));
    auto* form = createChild<QFormLayout>(columnsTab, QStringLiteral("CatalogueForm"));
    auto* columns = createChild<QSpinBox>(columnsTab, QStringLiteral("CatalogueColumns"));
    columns->setRange(CataloguePrinter::MinColumns, CataloguePrinter::MaxColumns);
    columns->setValue(CataloguePrinter::DefaultColumns);
    form->addRow(QStringLiteral("Colonnes :"), columns);
    dialog.setOptionTabs({columnsTab});
    const QList<std::int32_t> selected = selectedRecords();
    dialog.setOption(QAbstractPrintDialog::PrintSelection, !selected.isEmpty());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const bool onlySelected = printer.printRange() == QPrinter::Selection;
    if (!printCatalogue(printer, onlySelected ? selected : mModel->shownIndexes(),
                        columns->value())) {
        mCommands.tell(QStringLiteral("Le catalogue n'a pas pu être imprimé."));
    }
}

}  // namespace pictarium
