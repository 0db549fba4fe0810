#pragma once

#include "base/program_folders.h"
#include "window/common_dialog_control.h"
#include "window/message_boxes.h"

#include <QString>

#include <chrono>
#include <memory>

namespace pictarium {

// What the main window is started with.
struct WindowSetup {
    ProgramFolders folders;
    // The program's argument string: everything after the program's name.
    QString commandLine;
    // The common-dialog control and the message boxes; tests script them.
    std::unique_ptr<CommonDialogControl> dialogControl = std::make_unique<CommonDialogControl>();
    std::unique_ptr<MessageBoxes> messageBoxes = std::make_unique<MessageBoxes>();
    // How long an operation runs before its progress box shows.
    std::chrono::milliseconds progressDelay{500};
};

}  // namespace pictarium
