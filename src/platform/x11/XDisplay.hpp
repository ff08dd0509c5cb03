#pragma once

#include <functional>
#include <optional>
#include <unordered_map>

namespace zorlo::x11 {

// The program's own connection to the X server, opened once where the native
// ports are made and handed to every adapter that talks to the server.
// Everything here is a quiet no-op where no X display can be reached (Wayland
// without XWayland, the offscreen platform, no DISPLAY).
class XDisplay {
  public:
    // Opens the display that DISPLAY names; with connect false, none: a
    // console whose window is no X11 window (native Wayland) opens no X11
    // connection, which would start XWayland for nothing.
    explicit XDisplay(bool connect = true);
    ~XDisplay();

    bool available() const { return display_ != nullptr; }

    // Whether the server reports every key change on the desktop (XInput 2.1);
    // only then do the two calls below mean anything.
    bool watchesKeys() const { return inputOpcode_ >= 0; }
    // The connection's socket: readable when the server has sent something.
    int connectionNumber() const;
    // Takes in what the server has sent, without waiting, and calls the
    // listener once if keys went down or up, moved to other key codes, or
    // the active window changed.
    // Every call below that talks to the server does this too, since a reply
    // may bring key events along and leave them queued inside Xlib, where the
    // socket no longer shows them.
    void readEvents() const;
    void setKeyListener(std::function<void()> listener) { keyListener_ = std::move(listener); }

    // Whether any key that produces one of the keysyms is down on the desktop,
    // or (where key changes are watched) went down since forgetPresses(): a tap
    // shorter than the time between two polls is still one press.
    bool anyKeyDown(const unsigned long* keysyms, int count) const;
    // The poll has looked at the keys; presses before now are no longer news.
    void forgetPresses() const;

    // The keysym of the key's unshifted level, 0 when unknown.
    unsigned long baseKeysym(unsigned keycode) const;

    // The window manager's active window (_NET_ACTIVE_WINDOW; 0 for none,
    // such as when a Wayland window has the focus under XWayland); nothing
    // where no window manager keeps the property.
    std::optional<unsigned long> activeWindow() const;

    // Asks the window manager to activate the window as a pager would, which
    // focus-stealing prevention lets through where a plain request is refused.
    void requestActivation(unsigned long window) const;

    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

  private:
    void watchKeys();
    void watchChanges();
    // The focus moved: keys held until now may have gone up where this
    // connection cannot see it (a Wayland window under XWayland), so the held
    // state is read afresh, now and once more at the next poll (the server
    // may learn of the release a moment after the window manager's word).
    void focusMoved() const;

    void* display_ = nullptr; // Display*, kept opaque so that Xlib's macros stay out of Qt code
    // With XInput 2.1 the server sends every key press and release on the
    // desktop; the state kept from them spares each poll a round trip.
    int inputOpcode_ = -1;
    mutable char keys_[32] = {};
    mutable bool keysStale_ = false;
    // Keys that went down since the last forgetPresses(), up again or not.
    mutable char pressed_[32] = {};
    // Looking a keysym up reads the whole keyboard map; the map changes rarely,
    // and a keymap change (core or XKB) empties the cache. Keysyms on no key
    // are not kept, so a later keymap that has them is seen.
    mutable std::unordered_map<unsigned long, unsigned char> keycodes_;
    int xkbEventBase_ = -1;
    unsigned long activeAtom_ = 0;
    std::function<void()> keyListener_;
};

} // namespace zorlo::x11
