#include "window/busy_pointer_p.h"

#include <QCursor>
#include <QGuiApplication>

namespace pictarium {

void showBusyPointer(bool busy) {
    if (busy) {
        if (QGuiApplication::overrideCursor() == nullptr) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        } else {
            QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
        }
        return;
    }
    while (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::restoreOverrideCursor();
    }
}

bool busyPointerShown() {
    return QGuiApplication::overrideCursor() != nullptr;
}

PointerLift::PointerLift() : mWasBusy(busyPointerShown()) {
    showBusyPointer(false);
}

PointerLift::~PointerLift() {
    if (mWasBusy) {
        showBusyPointer(true);
    }
}

}  // namespace pictarium
