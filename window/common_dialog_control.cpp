#include "window/common_dialog_control.h"

#include "base/run_errors.h"
#include "window/busy_pointer_p.h"
#include "window/file_dialog_filter_p.h"
#include "window/french_file_details_p.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <memory>

namespace pictarium {

namespace {

QFileDialog::FileMode fileModeOf(int flags, bool save) {
    if ((flags & CommonDialogControl::FileMustExist) == 0) {
        return QFileDialog::AnyFile;
    }
    const bool several = !save && (flags & CommonDialogControl::AllowMultiSelect) != 0;
    return several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile;
}

}  // namespace

void CommonDialogControl::configure(QFileDialog& dialog, bool save) const {
    // Qt's own box, so that it speaks French whatever the desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto details = std::make_unique<FrenchFileDetails>(&dialog);
    dialog.setProxyModel(details.release());  // the box, its parent, deletes it
    // The box shows the names exactly as the filter gives them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(mTitle);
    // Wide enough for the French column headers and the longest filter.
    dialog.resize(760, 480);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(fileModeOf(mFlags, save));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (mFlags & OverwritePrompt) == 0);
    const QStringList nameFilters = nameFiltersOf(mFilter);
    dialog.setNameFilters(nameFilters);
    if (mFilterIndex >= 1 && mFilterIndex <= nameFilters.size()) {
        dialog.selectNameFilter(nameFilters[mFilterIndex - 1]);
    }
    if (!mFileName.isEmpty()) {
        dialog.selectFile(mFileName);
    } else if (!mLastFolder.isEmpty()) {
        dialog.setDirectory(mLastFolder);
    }
}

void CommonDialogControl::ShowOpen() {
    show(false);
}

void CommonDialogControl::ShowSave() {
    show(true);
}

void CommonDialogControl::show(bool save) {
    QFileDialog dialog(mOwner);
    configure(dialog, save);
    std::optional<QStringList> chosen;
    {
        const PointerLift lift;
        chosen = runDialog(dialog);
    }
    if (!chosen || chosen->isEmpty()) {
        if (mCancelError) {
            throw RunFailure(DialogCancelled);
        }
        return;
    }
    mFileNames.clear();
    for (const QString& path : *chosen) {
        mFileNames.append(QDir::cleanPath(path));
    }
    mFileName = mFileNames.constFirst();
    const int filter = filterIndexOf(dialog.nameFilters(), dialog.selectedNameFilter());
    if (filter > 0) {
        mFilterIndex = filter;
    }
    mLastFolder = QFileInfo(mFileName).absolutePath();
}

std::optional<QString> CommonDialogControl::chooseFolder(const QString& title) {
    QFileDialog dialog(mOwner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(title);
    dialog.resize(760, 480);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!mLastFolder.isEmpty()) {
        dialog.setDirectory(mLastFolder);
    }
    std::optional<QStringList> chosen;
    {
        const PointerLift lift;
        chosen = runDialog(dialog);
    }
    if (!chosen || chosen->isEmpty()) {
        return std::nullopt;
    }
    mLastFolder = QDir::cleanPath(chosen->constFirst());
    return mLastFolder;
}

std::optional<QStringList> CommonDialogControl::runDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles();
}

}  // namespace pictarium
