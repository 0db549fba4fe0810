// Clicks the left mouse button at a point of a window, by sending the
// window the press and the release the X server would: enough for a Qt
// button, without the XTest extension.
// Usage: x11_click WINDOW_ID X Y   (X, Y inside the window)

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

void sendButton(Display* display, Window window, int x, int y, bool press) {
    XEvent event{};
    XButtonEvent& button = event.xbutton;
    button.type = press ? ButtonPress : ButtonRelease;
    button.display = display;
    button.window = window;
    button.root = DefaultRootWindow(display);
    button.subwindow = None;
    button.time = CurrentTime;
    button.x = x;
    button.y = y;
    Window child = None;
    XTranslateCoordinates(display, window, button.root, x, y, &button.x_root, &button.y_root,
                          &child);
    button.state = press ? 0 : Button1Mask;
    button.button = Button1;
    button.same_screen = True;
    // No mask: the event goes to the client that made the window.
    XSendEvent(display, window, False, 0, &event);
    XFlush(display);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: x11_click WINDOW_ID X Y\n");
        return 2;
    }
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "x11_click: no display\n");
        return 1;
    }
    const auto window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
    const int x = std::atoi(argv[2]);
    const int y = std::atoi(argv[3]);
    XWarpPointer(display.get(), None, window, 0, 0, 0, 0, x, y);
    sendButton(display.get(), window, x, y, true);
    sendButton(display.get(), window, x, y, false);
    XSync(display.get(), False);
    return 0;
}
