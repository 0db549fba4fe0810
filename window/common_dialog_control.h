#pragma once

#include "engine/common_dialog.h"

#include <QString>
#include <QStringList>

#include <optional>

class QFileDialog;
class QWidget;

namespace pictarium {

// The window's common-dialog control: file boxes over QFileDialog. Like the control, it keeps its
// properties between uses, so a box shown without a file name opens where the last chosen path was.
class CommonDialogControl : public CommonDialog {
public:
    // Common-dialog flags that change how a box behaves here.
    static constexpr int OverwritePrompt = 0x2;
    static constexpr int FileMustExist = 0x1000;
    static constexpr int AllowMultiSelect = 0x200;

    CommonDialogControl() = default;

    // The window the boxes belong to.
    void setOwner(QWidget* owner) { mOwner = owner; }

    void setDialogTitle(const QString& title) override { mTitle = title; }
    void setFlags(int flags) override { mFlags = flags; }
    void setCancelError(bool raise) override { mCancelError = raise; }
    void setFilter(const QString& filter) override { mFilter = filter; }
    void setFileName(const QString& fileName) override { mFileName = fileName; }
    [[nodiscard]] QString FileName() const override { return mFileName; }
    // Every file chosen in the last box; FileName is the first.
    [[nodiscard]] const QStringList& FileNames() const { return mFileNames; }
    void setFilterIndex(int index) override { mFilterIndex = index; }
    [[nodiscard]] int FilterIndex() const override { return mFilterIndex; }
    void ShowOpen() override;
    void ShowSave() override;

    // A box that chooses a folder, titled `title`; nothing when cancelled.
    [[nodiscard]] std::optional<QString> chooseFolder(const QString& title);

    // A box set up from the properties, ready to run.
    void configure(QFileDialog& dialog, bool save) const;

protected:
    // Runs the box: the chosen paths, or nothing when cancelled.
    virtual std::optional<QStringList> runDialog(QFileDialog& dialog);

private:
    void show(bool save);

    QWidget* mOwner = nullptr;
    QString mTitle;
    int mFlags = 0;
    bool mCancelError = false;
    QString mFilter;
    QString mFileName;
    QStringList mFileNames;
    int mFilterIndex = 1;
    QString mLastFolder;
};

}  // namespace pictarium
