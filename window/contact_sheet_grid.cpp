#include "window/contact_sheet_grid_p.h"

#include <QDropEvent>
#include <QMimeData>

namespace pictarium {

ContactSheetGrid::ContactSheetGrid(QWidget* parent) : QListView(parent) {}

bool ContactSheetGrid::holdsRecords(const QDropEvent* event) const {
    const QStringList types = model()->mimeTypes();
    return !types.isEmpty() && event->mimeData()->hasFormat(types.constFirst());
}

void ContactSheetGrid::dragEnterEvent(QDragEnterEvent* event) {
    takeRecords(event, [this, event] { QListView::dragEnterEvent(event); });
}

void ContactSheetGrid::dragMoveEvent(QDragMoveEvent* event) {
    takeRecords(event, [this, event] { QListView::dragMoveEvent(event); });
}

// Records are always moved, never copied; anything else is refused.
void ContactSheetGrid::takeRecords(QDragMoveEvent* event, const std::function<void()>& show) {
    if (!holdsRecords(event)) {
        event->ignore();
        return;
    }
    show();
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void ContactSheetGrid::dropEvent(QDropEvent* event) {
    if (!holdsRecords(event)) {
        event->ignore();
        return;
    }
    // Before the record dropped on, or at the end; the model checks that
    // the records come from its own base.
    const QModelIndex target = indexAt(event->position().toPoint());
    model()->dropMimeData(event->mimeData(), Qt::MoveAction, target.isValid() ? target.row() : -1,
                          0, QModelIndex());
    event->setDropAction(Qt::MoveAction);
    event->accept();
    stopAutoScroll();
}

}  // namespace pictarium
