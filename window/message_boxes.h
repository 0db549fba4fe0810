#pragma once

#include "engine/engine_host.h"

#include <QMessageBox>

#include <memory>

class QWidget;

namespace pictarium {

// Shows the engine's and the window's messages as modal boxes.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    MessageAnswer show(const Message& message, QWidget* parent);

    // The box for a message: its icon, French buttons and title.
    [[nodiscard]] static std::unique_ptr<QMessageBox> makeBox(const Message& message,
                                                              QWidget* parent);

protected:
    // Runs the box and gives the button chosen. Tests answer from a script.
    virtual QMessageBox::StandardButton runBox(QMessageBox& box);
};

}  // namespace pictarium
