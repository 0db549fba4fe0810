#pragma once

#include <QObject>

class QWidget;

namespace pictarium {

// While a command runs, clicks and keys aimed at the window are dropped,
// not queued: a click made during a long add must not delete the record
// just added once the add is over. Boxes the command opens (messages, file
// boxes, its progress box) are other windows and stay usable. On leaving,
// whatever input arrived meanwhile is drained and dropped too.
class InputHold : public QObject {
public:
    explicit InputHold(QWidget& window);
    ~InputHold() override;
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& mWindow;
};

}  // namespace pictarium
