#pragma once

#include "engine/class_dbp.h"
#include "engine/engine_host.h"
#include "window/dialog_controls.h"
#include "window/edit_history_p.h"
#include "window/viewer_window_p.h"
#include "window/window_setup.h"

#include <QList>
#include <QWidget>

#include <QKeySequence>

#include <functional>
#include <initializer_list>
#include <memory>

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QKeyEvent;
class QMimeData;
class QPainter;
class QTimer;
class QToolButton;
class QWheelEvent;

namespace pictarium {

class ClipboardWatch;
class ContactSheetWindow;
class HelpWindow;
class ProgressBox;
class TrashWindow;

// The program's only window. Creating it starts the program: it takes the
// command-line picture, creates the engine `Base` and opens the default
// base. Closing it releases the engine.
//
// Members that the whole program knows by name (`Base`, `Medlg`, the
// display geometry, `ContentDelivered`) keep those names.
class MainDialog : public QWidget, public EngineHost {
public:
    explicit MainDialog(WindowSetup setup, QWidget* parent = nullptr);
    ~MainDialog() override;
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // The engine; null once the window is closed.
    [[nodiscard]] const ClassDBP* engine() const { return Base.get(); }
    // Where the current picture was last drawn, inside the display box.
    [[nodiscard]] QRect drawnPictureRect() const;

    // EngineHost: the engine's events go to the Base_ handlers.
    void NextButtonEnabled(bool Enabled) override { Base_NextButtonEnabled(Enabled); }
    void LastButtonEnabled(bool Enabled) override { Base_LastButtonEnabled(Enabled); }
    void SearchButtonEnabled(bool) override {}
    void DeleteButtonEnabled(bool Enabled) override { Base_DeleteButtonEnabled(Enabled); }
    void AddButtonEnabled(bool Enabled) override { Base_AddButtonEnabled(Enabled); }
    void GetContent(const QImage& Ipic, const QString& iText) override {
        Base_GetContent(Ipic, iText);
    }
    MessageAnswer showMessage(const Message& message) override;
    void setBusyPointer(bool busy) override;
    [[nodiscard]] QString programFolder() const override;
    [[nodiscard]] QString trashFolder() const override;
    bool reportProgress(LongOperation operation, std::int64_t done, std::int64_t total) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Start-up and shutdown.
    void Form_Load();
    void Form_Resize();
    void takeCommandLinePicture();
    [[nodiscard]] QString commandLineBase() const;
    void openCommandLineBase(const QString& path);
    void openDefaultBase();
    void placeWindow();
    [[nodiscard]] QString ReadDefaultBase() const;
    [[nodiscard]] bool WriteDefaultBase(const QString& path) const;
    void connectControls();
    void focusTabStrip();

    // Keys, wheel and context help.
    enum class KeyScope { Browsing, DataTab, Anywhere };
    void connectKeys();
    void bindKey(std::initializer_list<QKeySequence> keys, QToolButton* button, KeyScope scope);
    void pressFromKey(QToolButton* button, KeyScope scope);
    bool pressOnEnter(QObject* watched, const QKeyEvent* key);
    bool browseWithWheel(const QWheelEvent* wheel);
    void showHelp(int topic);

    // Tabs and timer.
    void TabStrip1_Click();
    void Timer1_Timer();

    // Display.
    void Base_GetContent(const QImage& Ipic, const QString& iText);
    void PicShow_Paint(QPainter& painter);
    void repaintDisplay();
    void showPosition();

    // Base commands.
    void Command4_Click();
    void Command5_Click();
    void CmdImpose_Click();
    void Command8_Click();
    void Command13_Click();
    [[nodiscard]] bool ShowOpenBaseDialog(QString& path);
    void stopBox(const QString& text);

    // Import and clipboard.
    void AddPicture();
    [[nodiscard]] bool loadPendingPicture();
    [[nodiscard]] bool takePendingPicture(const QString& path);
    void addPictureFiles(const QStringList& paths);
    void addSeveralPictures(const QStringList& paths);
    [[nodiscard]] QStringList ChooseImageFiles();
    [[nodiscard]] QStringList droppedFiles(const QMimeData* data) const;
    void Command14_Click();
    void Command15_Click();

    // Runs a command with the window's input held until it ends; a close
    // asked meanwhile waits for its end.
    void runCommand(const std::function<void()>& command);
    // Record commands and button states.
    void runRecordCommand(const std::function<void()>& command);
    void Command16_Click();
    void Base_AddButtonEnabled(bool Enabled);
    void Base_NextButtonEnabled(bool Enabled);
    void Base_LastButtonEnabled(bool Enabled);
    void Base_DeleteButtonEnabled(bool Enabled);
    // Corrections of the record on show, from the display box's menu.
    void connectCorrections();
    void enableCorrections(bool enabled);
    void editDescription();
    void editDescriptionOf(std::int32_t index, const QString& description);
    void moveRecord();
    void showTrash();
    // Undo and redo of this window's changes.
    void connectHistory();
    void showHistory();
    void recordChange(BaseChange change);
    bool restoreFromTrash(const QStringList& files);
    void deleteShown();
    void stepHistory(bool back);
    // The viewer of the record on show.
    void connectViewer();
    void showViewer();
    void updateViewer();
    void browseFrom(ViewerWindow::Step step);
    // The contact sheet, and the changes it asks for.
    void connectContactSheet();
    void showContactSheet();
    void updateContactSheet();
    void deleteRecords(const QList<std::int32_t>& indexes);
    void moveRecords(const QList<std::int32_t>& moved, std::int32_t before);
    void exportPictures(const QList<std::int32_t>& indexes);

    WindowSetup mSetup;
    DialogControls mUi;
    CommonDialogControl& Medlg;
    QTimer* Timer1 = nullptr;
    ClipboardWatch* mClipboard = nullptr;
    std::unique_ptr<ClassDBP> Base;
    std::unique_ptr<ProgressBox> mProgress;
    HelpWindow* mHelp = nullptr;
    TrashWindow* mTrash = nullptr;
    ViewerWindow* mViewer = nullptr;
    ContactSheetWindow* mSheet = nullptr;
    QList<QAction*> mCorrections;
    EditHistory mHistory;
    QAction* mUndoAction = nullptr;
    QAction* mRedoAction = nullptr;
    int mCommandsRunning = 0;
    bool mCloseAsked = false;

    int DisplayWidth = 0;
    int DisplayHeight = 0;
    int DisplayLeft = 0;
    int DisplayTop = 0;
    int PictureWidth = 0;
    int PictureHeight = 0;
    bool ContentDelivered = false;
};

}  // namespace pictarium
