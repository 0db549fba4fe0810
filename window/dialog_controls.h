#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;

namespace pictarium {

class DescriptionBox;
class DisplayBox;
class PictureHolder;

// Every control of the main window, by the name it is known by. The
// window owns them all through Qt's parent chain.
struct DialogControls {
    QTabWidget* TabStrip1 = nullptr;
    QWidget* PicData = nullptr;
    QWidget* PicConfig = nullptr;
    QPushButton* Command13 = nullptr;
    PictureHolder* PicTmp = nullptr;
    PictureHolder* PicLoad = nullptr;

    // The data panel.
    QToolButton* Command1 = nullptr;
    QToolButton* Command6 = nullptr;
    QToolButton* Command15 = nullptr;
    QToolButton* Command14 = nullptr;
    QToolButton* Command16 = nullptr;
    DisplayBox* PicShow = nullptr;
    QToolButton* Command9 = nullptr;
    QToolButton* Command10 = nullptr;
    QToolButton* Command2 = nullptr;
    QToolButton* Command3 = nullptr;
    DescriptionBox* TextDescription = nullptr;
    QToolButton* Command7 = nullptr;
    QToolButton* Command11 = nullptr;
    QToolButton* Command12 = nullptr;
    QToolButton* Command8 = nullptr;

    // The configuration panel.
    QToolButton* Command5 = nullptr;
    QToolButton* Command4 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* TextDbOpen = nullptr;
    QPushButton* CmdImpose = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* TextDefautBase = nullptr;
};

// Creates every control on `window` at its place, with its texts, its
// state at start and the keyboard focus order.
[[nodiscard]] DialogControls buildDialogControls(QWidget& window);

}  // namespace pictarium
