#pragma once

#include "engine/engine_host.h"

#include <QMessageBox>

#include <memory>
#include <optional>

class QInputDialog;

class QWidget;

namespace pictarium {

// Shows the engine's and the window's messages, and its questions that
// want a text or a number, as modal boxes.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    MessageAnswer show(const Message& message, QWidget* parent);

    // The box for a message: its icon, French buttons and title.
    [[nodiscard]] static std::unique_ptr<QMessageBox> makeBox(const Message& message,
                                                              QWidget* parent);

    // A text to type, `text` offered; nothing when cancelled.
    std::optional<QString> askText(const QString& title, const QString& label, const QString& text,
                                   QWidget* parent);
    // A whole number from `lowest` to `highest`, `value` offered; nothing
    // when cancelled.
    std::optional<int> askNumber(const QString& title, const QString& label, int value, int lowest,
                                 int highest, QWidget* parent);

protected:
    // Runs the box and gives the button chosen. Tests answer from a script.
    virtual QMessageBox::StandardButton runBox(QMessageBox& box);
    // Runs the box; true when its value was accepted. Tests answer from a script.
    virtual bool runInput(QInputDialog& box);
};

}  // namespace pictarium
