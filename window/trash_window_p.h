#pragma once

#include <QDialog>

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
    TrashWindow(ClassDBP& base, MessageBoxes& boxes, QWidget* parent);

    // Lists the trash as it is now and brings the window to the front.
    void showTrash();

private:
    void fill();
    void restoreChosen();
    void emptyTrash();

    ClassDBP& mBase;
    MessageBoxes& mBoxes;
    QTreeWidget* mList = nullptr;
    QPushButton* mRestore = nullptr;
    QPushButton* mEmpty = nullptr;
};

}  // namespace pictarium
