#pragma once

namespace pictarium {

// The application-wide pointer, kept as a state rather than a stack:
// "busy" twice then "default" once leaves the default pointer.
void showBusyPointer(bool busy);

[[nodiscard]] bool busyPointerShown();

// Gives the default pointer back while a box waits for the user, and the
// busy pointer again when the box is gone if it was showing before.
class PointerLift {
public:
    PointerLift();
    ~PointerLift();
    PointerLift(const PointerLift&) = delete;
    PointerLift& operator=(const PointerLift&) = delete;

private:
    bool mWasBusy;
};

}  // namespace pictarium
