#include "window/input_hold_p.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace pictarium {

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputHold::InputHold(QWidget& window) : mWindow(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
    if (!isUserInput(event->type()) || !watched->isWidgetType()) {
        return false;
    }
    return static_cast<QWidget*>(watched)->window() == &mWindow;
}

}  // namespace pictarium
