#pragma once

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
    void* display_ = nullptr; // Display*, kept opaque so that Xlib's macros stay out of Qt code
};

} // namespace zorlo::x11
