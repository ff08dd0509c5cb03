#include "platform/x11/XDisplay.hpp"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#ifdef ZORLO_HAVE_XI2
#include <X11/extensions/XInput2.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace zorlo::x11 {

namespace {

Display* asDisplay(void* display) {
    return static_cast<Display*>(display);
}

constexpr long kSourcePager = 2;

} // namespace

XDisplay::XDisplay(bool connect) {
    const char* name = std::getenv("DISPLAY");
    if (connect && name != nullptr && *name != '\0') {
        display_ = XOpenDisplay(name);
    }
    if (display_ != nullptr) {
        watchChanges();
        watchKeys();
    }
}

// Keymap changes and the active window's changes come as events on this
// connection: the first make the key code cache stale, the second may leave
// a key seen held that went up out of this connection's sight.
void XDisplay::watchChanges() {
    Display* display = asDisplay(display_);
    activeAtom_ = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (XkbQueryExtension(display, &opcode, &event, &error, &major, &minor)) {
        xkbEventBase_ = event;
        const unsigned long mask = XkbMapNotifyMask | XkbNewKeyboardNotifyMask;
        XkbSelectEvents(display, XkbUseCoreKbd, mask, mask);
    }
}

// The hotkey is polled 20 times a second, and a query of the key state is a
// round trip to the server each time: the largest part of what the idle
// console costs. Raw key events (XInput 2.1 sends them for the whole desktop,
// grabs or not) keep a copy of the state here instead; without the extension
// every poll asks the server.
void XDisplay::watchKeys() {
#ifdef ZORLO_HAVE_XI2
    Display* display = asDisplay(display_);
    int opcode = 0;
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) {
        return;
    }
    int major = 2;
    int minor = 1;
    if (XIQueryVersion(display, &major, &minor) != Success || major < 2 ||
        (major == 2 && minor < 1)) {
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    // The state now; the events after the selection keep it current (those
    // that came before this reply change nothing that the reply does not show).
    XQueryKeymap(display, keys_);
    inputOpcode_ = opcode;
#endif
}

int XDisplay::connectionNumber() const {
    return display_ != nullptr ? ConnectionNumber(asDisplay(display_)) : -1;
}

void XDisplay::readEvents() const {
    if (display_ == nullptr) {
        return;
    }
    Display* display = asDisplay(display_);
    bool changed = false;
    while (XEventsQueued(display, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping); // keysyms may sit on other keys now
            keycodes_.clear();
            changed = true;
            continue;
        }
        if (xkbEventBase_ >= 0 && event.type == xkbEventBase_) {
            keycodes_.clear();
            changed = true;
            continue;
        }
        if (event.type == PropertyNotify) {
            if (event.xproperty.atom == activeAtom_) {
                focusMoved();
                changed = true;
            }
            continue;
        }
#ifdef ZORLO_HAVE_XI2
        XGenericEventCookie* cookie = &event.xcookie;
        if (inputOpcode_ < 0 || cookie->type != GenericEvent || cookie->extension != inputOpcode_ ||
            !XGetEventData(display, cookie)) {
            continue;
        }
        const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
        if ((cookie->evtype == XI_RawKeyPress || cookie->evtype == XI_RawKeyRelease) &&
            raw->detail >= 0 && raw->detail < 256) {
            const int code = raw->detail;
            const auto bit = static_cast<char>(1 << (code % 8));
            keys_[code / 8] = static_cast<char>(
                cookie->evtype == XI_RawKeyPress ? keys_[code / 8] | bit : keys_[code / 8] & ~bit);
            if (cookie->evtype == XI_RawKeyPress) {
                pressed_[code / 8] = static_cast<char>(pressed_[code / 8] | bit);
            }
            changed = true;
        }
        XFreeEventData(display, cookie);
#endif
    }
    if (changed && keyListener_) {
        keyListener_();
    }
}

void XDisplay::focusMoved() const {
    // Presses already seen stay news for the next poll; only what is held is
    // asked again. Without the key watch every poll asks anyway.
    if (inputOpcode_ >= 0) {
        XQueryKeymap(asDisplay(display_), keys_);
        keysStale_ = true;
    }
}

std::optional<unsigned long> XDisplay::activeWindow() const {
    if (display_ == nullptr) {
        return std::nullopt;
    }
    Display* display = asDisplay(display_);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), activeAtom_, 0, 1,
                                          False, XA_WINDOW, &type, &format, &count, &after, &data);
    std::optional<unsigned long> active;
    if (status == Success && type == XA_WINDOW && format == 32 && count == 1 && data != nullptr) {
        active = *reinterpret_cast<const unsigned long*>(data);
    }
    if (data != nullptr) {
        XFree(data);
    }
    readEvents();
    return active;
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
    // Key codes first: looking one up may read events, which the state below
    // then includes. A virtual key stands for two keysyms at most (left and right).
    KeyCode codes[8] = {};
    count = std::min(count, static_cast<int>(std::size(codes)));
    for (int i = 0; i < count; ++i) {
        const auto known = keycodes_.find(keysyms[i]);
        if (known != keycodes_.end()) {
            codes[i] = known->second;
            continue;
        }
        codes[i] = XKeysymToKeycode(display, keysyms[i]);
        if (codes[i] != 0) {
            keycodes_.emplace(keysyms[i], codes[i]);
        }
    }
    char keys[32] = {};
    if (inputOpcode_ >= 0) {
        readEvents();
        if (keysStale_) {
            keysStale_ = false;
            XQueryKeymap(display, keys_);
        }
        // A press that went up again before this query still counts once.
        for (std::size_t i = 0; i < std::size(keys); ++i) {
            keys[i] = static_cast<char>(keys_[i] | pressed_[i]);
        }
    } else {
        // Keymap changes wait in the queue until something reads it.
        readEvents();
        XQueryKeymap(display, keys);
    }
    for (int i = 0; i < count; ++i) {
        if (codes[i] != 0 && (keys[codes[i] / 8] & (1 << (codes[i] % 8))) != 0) {
            return true;
        }
    }
    return false;
}

void XDisplay::forgetPresses() const {
    std::fill(std::begin(pressed_), std::end(pressed_), 0);
}

unsigned long XDisplay::baseKeysym(unsigned keycode) const {
    if (display_ == nullptr || keycode > 255) {
        return 0;
    }
    const unsigned long keysym =
        XkbKeycodeToKeysym(asDisplay(display_), static_cast<KeyCode>(keycode), 0, 0);
    readEvents();
    return keysym;
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
    readEvents();
}

} // namespace zorlo::x11
