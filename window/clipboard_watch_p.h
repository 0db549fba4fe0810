#pragma once

#include <QObject>

namespace pictarium {

// Knows whether the clipboard holds a picture without asking it every
// time: the answer is worked out again only when the clipboard says its
// content changed. Asking the clipboard means a round trip to the owner
// of the selection on X11 and Wayland, too dear for a 20 ms timer.
class ClipboardWatch : public QObject {
public:
    explicit ClipboardWatch(QObject* parent);

    [[nodiscard]] bool holdsPicture() const { return mHoldsPicture; }

private:
    void update();

    bool mHoldsPicture = false;
};

}  // namespace pictarium
