#include "platform/x11/XDisplay.hpp"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cstdlib>

namespace zorlo::x11 {

namespace {

Display* asDisplay(void* display) {
    return static_cast<Display*>(display);
}

constexpr long kSourcePager = 2;

} // namespace

XDisplay& XDisplay::instance() {
    static XDisplay display;
    return display;
}

XDisplay::XDisplay() {
    const char* name = std::getenv("DISPLAY");
    if (name != nullptr && *name != '\0') {
        display_ = XOpenDisplay(name);
    }
}

XDisplay::~XDisplay() {
    if (display_ != nullptr) {
        XCloseDisplay(asDisplay(display_));
    }
}

bool XDisplay::anyKeyDown(const unsigned long* keysyms, int count) const {
    if (display_ == nullptr || count == 0) {
        return false;
    }
    Display* display = asDisplay(display_);
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (int i = 0; i < count; ++i) {
        const KeyCode code = XKeysymToKeycode(display, keysyms[i]);
        if (code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0) {
            return true;
        }
    }
    return false;
}

unsigned long XDisplay::baseKeysym(unsigned keycode) const {
    if (display_ == nullptr || keycode > 255) {
        return 0;
    }
    return XkbKeycodeToKeysym(asDisplay(display_), static_cast<KeyCode>(keycode), 0, 0);
}

void XDisplay::requestActivation(unsigned long window) const {
    if (display_ == nullptr || window == 0) {
        return;
    }
    Display* display = asDisplay(display_);
    const Window root = DefaultRootWindow(display);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = kSourcePager;
    event.xclient.data.l[1] = CurrentTime;
    event.xclient.data.l[2] = 0;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

} // namespace zorlo::x11
