#include "tests/engine/scripted_common_dialog.h"

#include "base/run_errors.h"

namespace pictarium::test {

void ScriptedCommonDialog::setDialogTitle(const QString& newTitle) {
    if (titleFails) {
        throw RunFailure(RunError::InternalError);
    }
    title = newTitle;
}

void ScriptedCommonDialog::setFlags(int newFlags) {
    flags = newFlags;
}

QString ScriptedCommonDialog::FileName() const {
    if (fileNameReadFails) {
        throw RunFailure(RunError::InternalError);
    }
    return fileName;
}

void ScriptedCommonDialog::show(const char* kind) {
    shown.emplace_back(QString::fromLatin1(kind));
    if (!typedName) {
        if (cancelError) {
            throw RunFailure(DialogCancelled);
        }
        return;
    }
    fileName = *typedName;
    if (chosenFilter > 0) {
        filterIndex = chosenFilter;
    }
}

}  // namespace pictarium::test
