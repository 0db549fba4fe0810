#pragma once

#include "tests/window/scripted_dialogs.h"
#include "window/main_dialog.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <chrono>
#include <memory>
#include <utility>
#include <vector>

namespace pictarium::test {

// A picture of one colour.
[[nodiscard]] QImage plainPicture(int width, int height, QColor colour);

// Writes a base holding these records through the engine itself.
void writeBase(const QString& path, const std::vector<std::pair<QImage, QString>>& records);

// Overwrites the stored picture of a record with bytes that decode to nothing.
void spoilStoredPicture(const QString& basePath, int index);

// Writes the pointer file of `folder`, naming `basePath`.
void writeDefaultBase(const QString& folder, const QString& basePath);
// Writes album.bdp in `folder` with these records and makes it the default
// base; gives back its path.
QString writeDefaultAlbum(const QString& folder,
                          const std::vector<std::pair<QImage, QString>>& records);

// A started main window whose file boxes and message boxes are scripted.
// Both program folders are `folder`.
class StartedWindow {
public:
    explicit StartedWindow(const QString& folder, const QString& commandLine = QString(),
                           std::chrono::milliseconds progressDelay = std::chrono::seconds(30));

    [[nodiscard]] MainDialog& window() const { return *mWindow; }
    [[nodiscard]] ScriptedDialogControl& dialog() const { return *mDialog; }
    [[nodiscard]] ScriptedMessageBoxes& boxes() const { return *mBoxes; }

    // A control by its name; null when there is none.
    template <typename Control = QWidget>
    [[nodiscard]] Control* control(const char* name) const {
        return mWindow->findChild<Control*>(QString::fromLatin1(name));
    }
    [[nodiscard]] bool enabled(const char* name) const;
    // The names, among `names`, of the controls that are enabled.
    [[nodiscard]] QStringList enabledAmong(const QStringList& names) const;
    void click(const char* name) const;
    void typeDescription(const QString& text) const;
    [[nodiscard]] QString description() const;
    // The colour drawn at a point of the display box's inside.
    [[nodiscard]] QColor displayColourAt(int x, int y) const;

private:
    ScriptedDialogControl* mDialog = nullptr;
    ScriptedMessageBoxes* mBoxes = nullptr;
    std::unique_ptr<MainDialog> mWindow;
};

}  // namespace pictarium::test
