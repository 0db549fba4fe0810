#pragma once

#include "window/message_boxes.h"

#include <QMessageBox>

namespace pictarium::bench {

// Counts messages instead of showing them: a benchmark that meets one has
// not measured what it meant to.
class CountingMessageBoxes : public MessageBoxes {
public:
    int shown = 0;

protected:
    QMessageBox::StandardButton runBox(QMessageBox& /*box*/) override {
        ++shown;
        return QMessageBox::Ok;
    }
};

}  // namespace pictarium::bench
