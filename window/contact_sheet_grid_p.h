#pragma once

#include <QListView>

#include <functional>

namespace pictarium {

// The contact sheet's grid of thumbnails. Records dragged within it are
// handed to the model as a move, whatever the view mode: an icon view
// would otherwise only shift the icons on the screen.
class ContactSheetGrid : public QListView {
public:
    explicit ContactSheetGrid(QWidget* parent);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    [[nodiscard]] bool holdsRecords(const QDropEvent* event) const;
    // Accepts a drag of records as a move, after `show` has drawn where it
    // would land.
    void takeRecords(QDragMoveEvent* event, const std::function<void()>& show);
};

}  // namespace pictarium
