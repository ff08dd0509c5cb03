#pragma once

#include <unordered_map>

namespace zorlo::x11 {

// The program's own connection to the X server, opened on first use and kept
// for the whole run. Everything here is a quiet no-op where no X display can be
// reached (Wayland without XWayland, the offscreen platform, no DISPLAY).
class XDisplay {
  public:
    static XDisplay& instance();

    bool available() const { return display_ != nullptr; }

    // Whether any key that produces one of the keysyms is down on the desktop.
    bool anyKeyDown(const unsigned long* keysyms, int count) const;

    // The keysym of the key's unshifted level, 0 when unknown.
    unsigned long baseKeysym(unsigned keycode) const;

    // Asks the window manager to activate the window as a pager would, which
    // focus-stealing prevention lets through where a plain request is refused.
    void requestActivation(unsigned long window) const;

    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

  private:
    XDisplay();
    ~XDisplay();
    void watchKeys();
    void readKeyEvents() const;

    void* display_ = nullptr; // Display*, kept opaque so that Xlib's macros stay out of Qt code
    // With XInput 2.1 the server sends every key press and release on the
    // desktop; the state kept from them spares each poll a round trip.
    int inputOpcode_ = -1;
    mutable char keys_[32] = {};
    // Looking a keysym up reads the whole keyboard map; the map changes rarely.
    mutable std::unordered_map<unsigned long, unsigned char> keycodes_;
};

} // namespace zorlo::x11
