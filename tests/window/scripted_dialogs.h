#pragma once

#include "window/common_dialog_control.h"
#include "window/message_boxes.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <deque>
#include <optional>
#include <vector>

namespace pictarium::test {

// What a file box looked like when it was shown.
struct ShownFileBox {
    QString title;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    bool confirmsOverwrite = true;
    QStringList nameFilters;
    QString selectedNameFilter;
    QString directory;
    QStringList selectedFiles;
};

// The common-dialog control with a user who picks paths from a script.
// An unscripted box is cancelled.
class ScriptedDialogControl : public CommonDialogControl {
public:
    // `filterIndex`, 1-based, is the filter the user picks in the box; 0
    // leaves the one the program chose.
    void choose(const QString& path, int filterIndex = 0) {
        mChoices.push_back({false, {path}, filterIndex});
    }
    // Several files chosen at once, in a box that lets the user.
    void chooseMany(const QStringList& paths) { mChoices.push_back({false, paths, 0}); }
    void cancel() { mChoices.push_back({true, {}, 0}); }

    std::vector<ShownFileBox> shownBoxes;

protected:
    std::optional<QStringList> runDialog(QFileDialog& dialog) override;

private:
    struct Choice {
        bool cancelled;
        QStringList paths;
        int filterIndex;
    };
    std::deque<Choice> mChoices;
};

// What a message box looked like when it was shown.
struct ShownMessageBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttonTexts;
};

// Message boxes answered from a script; an unscripted question is answered
// No, and a box with one button gets that button.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    void answer(QMessageBox::StandardButton next) { mAnswers.push_back(next); }
    // What the user types in the next input box; an unscripted one is cancelled.
    void enter(const QVariant& value) { mInputs.push_back(value); }

    std::vector<ShownMessageBox> shown;
    // The labels of the input boxes shown so far.
    QStringList inputLabels;

    // The texts of the boxes shown so far, and forgets them.
    QStringList takeTexts();

protected:
    QMessageBox::StandardButton runBox(QMessageBox& box) override;
    bool runInput(QInputDialog& box) override;

private:
    std::deque<QMessageBox::StandardButton> mAnswers;
    std::deque<QVariant> mInputs;
};

}  // namespace pictarium::test
