#pragma once

namespace zorlo {

// The capture window's own logic ("frmKey"): records the first ordinary key
// pressed in it together with at most one modifier, as Windows virtual-key codes.
class HotkeyCapture {
  public:
    static constexpr int kNothing = -1;

    // Runs each time the window is loaded.
    void formLoad() {
        hotKey = kNothing;
        closedWithoutKey = false;
    }
    // A key went down while the window has the keyboard. shift: 1 Shift, 2 Ctrl, 4 Alt.
    // Esc, with or without modifiers, ends the capture as closing the window does.
    void formKeyDown(int keyCode, int shift);
    // The user closed the window without pressing a key: the capture ends, nothing changes.
    void formClosed() { closedWithoutKey = true; }

    bool waiting() const { return hotKey == kNothing && !closedWithoutKey; }

    int hotKey = kNothing;
    int modKey = 0;
    bool closedWithoutKey = false;
};

} // namespace zorlo
