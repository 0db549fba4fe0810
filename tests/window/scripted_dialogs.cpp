#include "tests/window/scripted_dialogs.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QInputDialog>

namespace pictarium::test {

std::optional<QStringList> ScriptedDialogControl::runDialog(QFileDialog& dialog) {
    ShownFileBox box;
    box.title = dialog.windowTitle();
    box.acceptMode = dialog.acceptMode();
    box.fileMode = dialog.fileMode();
    box.confirmsOverwrite = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
    box.nameFilters = dialog.nameFilters();
    box.selectedNameFilter = dialog.selectedNameFilter();
    box.directory = QFileInfo(dialog.directory().absolutePath()).canonicalFilePath();
    box.selectedFiles = dialog.selectedFiles();
    shownBoxes.push_back(box);
    if (mChoices.empty()) {
        return std::nullopt;
    }
    const Choice choice = mChoices.front();
    mChoices.pop_front();
    if (choice.cancelled) {
        return std::nullopt;
    }
    // As the user does it: in the box's list of types (selectNameFilter
    // finds nothing when the filters' details are hidden).
    if (choice.filterIndex > 0) {
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        if (types != nullptr) {
            types->setCurrentIndex(choice.filterIndex - 1);
        }
    }
    return choice.paths;
}

bool ScriptedMessageBoxes::runInput(QInputDialog& box) {
    inputLabels.append(box.labelText());
    if (mInputs.empty()) {
        return false;
    }
    const QVariant value = mInputs.front();
    mInputs.pop_front();
    if (box.inputMode() == QInputDialog::IntInput) {
        box.setIntValue(value.toInt());
    } else {
        box.setTextValue(value.toString());
    }
    return true;
}

QStringList ScriptedMessageBoxes::takeTexts() {
    QStringList texts;
    for (const ShownMessageBox& box : shown) {
        texts.append(box.text);
    }
    shown.clear();
    return texts;
}

QMessageBox::StandardButton ScriptedMessageBoxes::runBox(QMessageBox& box) {
    ShownMessageBox record{box.text(), box.windowTitle(), box.icon(), {}};
    for (QAbstractButton* button : box.buttons()) {
        record.buttonTexts.append(button->text());
    }
    shown.push_back(record);
    const QMessageBox::StandardButtons buttons = box.standardButtons();
    if (buttons == QMessageBox::Ok) {
        return QMessageBox::Ok;
    }
    if (mAnswers.empty()) {
        return QMessageBox::No;
    }
    const QMessageBox::StandardButton next = mAnswers.front();
    mAnswers.pop_front();
    return next;
}

}  // namespace pictarium::test
