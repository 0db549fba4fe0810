#pragma once

#include <QDialog>
#include <QList>

#include <cstdint>
#include <functional>

class QPushButton;
class QTreeWidget;

namespace pictarium {

class ClassDBP;
class MessageBoxes;

// "Corbeille – base.bdp": the records deleted from the open base, each with
// a small picture, its description, its former position and the date it
// left; "Restaurer" puts the chosen ones back, "Vider la corbeille" forgets
// them all after a question.
class TrashWindow : public QDialog {
public:
    // `restored` is told where the records it puts back stand.
    using Restored = std::function<void(const QList<std::int32_t>& placed)>;

    TrashWindow(ClassDBP& base, MessageBoxes& boxes, Restored restored, QWidget* parent);

    // Lists the trash as it is now and brings the window to the front.
    void showTrash();

private:
    void fill();
    void restoreChosen();
    void emptyTrash();

    ClassDBP& mBase;
    MessageBoxes& mBoxes;
    Restored mRestored;
    QTreeWidget* mList = nullptr;
    QPushButton* mRestore = nullptr;
    QPushButton* mEmpty = nullptr;
};

}  // namespace pictarium
