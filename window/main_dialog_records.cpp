// Browsing, searching, deleting, information, save as, and the button
// states that the engine reports.

#include "window/main_dialog.h"

#include "engine/common_dialog.h"
#include "window/busy_pointer_p.h"
#include "window/picture_holder_p.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QToolButton>

namespace pictarium {

// The engine reports its own failures; anything that still escapes is
// dropped so that the window stays usable. The focus goes back to the tab
// strip so that no button keeps it.
void MainDialog::runRecordCommand(const std::function<void()>& command) {
    runCommand(command);
    focusTabStrip();
}

void MainDialog::Command16_Click() {
    if (mUi.PicLoad->holdsPicture()) {
        QString name;
        if (Base->gSaveFile(Medlg, name)) {
            showBusyPointer(true);
            // A name it would not write leaves the clipboard as it was.
            if (Base->SaveFileInDsk(mUi.PicLoad->picture(), name)) {
                QClipboard* clipboard = QGuiApplication::clipboard();
                clipboard->clear();
                clipboard->setText(name);
            }
        }
    }
    showBusyPointer(false);
}

void MainDialog::Base_AddButtonEnabled(bool Enabled) {
    mUi.Command1->setEnabled(Enabled);
    mUi.Command12->setEnabled(Enabled);
}

void MainDialog::Base_NextButtonEnabled(bool Enabled) {
    mUi.Command3->setEnabled(Enabled);
    mUi.Command10->setEnabled(Enabled);
    mUi.Command11->setEnabled(Enabled);
}

void MainDialog::Base_LastButtonEnabled(bool Enabled) {
    mUi.Command2->setEnabled(Enabled);
    mUi.Command7->setEnabled(Enabled);
    mUi.Command9->setEnabled(Enabled);
}

void MainDialog::Base_DeleteButtonEnabled(bool Enabled) {
    mUi.Command6->setEnabled(Enabled);
    mUi.Command15->setEnabled(Enabled);
    mUi.Command16->setEnabled(Enabled);
    enableCorrections(Enabled);
    // The last event of every refresh, once the engine's record is current.
    showPosition();
}

}  // namespace pictarium
