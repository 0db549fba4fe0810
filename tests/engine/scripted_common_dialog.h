#pragma once

#include "engine/common_dialog.h"

#include <QString>

#include <optional>
#include <vector>

namespace pictarium::test {

// A common dialog that shows nothing: it records the properties it is
// given and plays the user's part from a script.
class ScriptedCommonDialog : public CommonDialog {
public:
    void setDialogTitle(const QString& title) override;
    void setFlags(int flags) override;
    void setCancelError(bool raise) override { cancelError = raise; }
    void setFilter(const QString& filter) override { this->filter = filter; }
    void setFileName(const QString& fileName) override { this->fileName = fileName; }
    [[nodiscard]] QString FileName() const override;
    void setFilterIndex(int index) override { filterIndex = index; }
    [[nodiscard]] int FilterIndex() const override { return filterIndex; }
    void ShowOpen() override { show("open"); }
    void ShowSave() override { show("save"); }

    // The script: the name the user types, or nothing to press Cancel.
    std::optional<QString> typedName;
    // The filter the user picks, 1-based; 0 keeps the program's.
    int chosenFilter = 0;
    // Make a property fail, as a broken control would.
    bool titleFails = false;
    bool fileNameReadFails = false;

    QString title;
    int flags = 0;
    bool cancelError = false;
    QString filter;
    QString fileName;
    int filterIndex = 0;
    std::vector<QString> shown;  // "open" or "save", in order

private:
    void show(const char* kind);
};

}  // namespace pictarium::test
