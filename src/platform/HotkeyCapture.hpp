#pragma once

#include "platform/KeyCodes.hpp"

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
    // Esc, with or without modifiers, ends the capture as closing the window does:
    // Esc is how a user backs out of a window, and as the hotkey it would also
    // toggle the console out of every other program.
    void formKeyDown(int keyCode, int shift) {
        if (keyCode == vk::Escape) {
            formClosed();
            return;
        }
        if (keyCode == vk::Shift || keyCode == vk::Control || keyCode == vk::Alt) {
            return; // a modifier alone is never captured
        }
        modKey = 0;
        if (shift == ShiftState::Shift) {
            modKey = vk::Shift;
        } else if (shift == ShiftState::Ctrl) {
            modKey = vk::Control;
        } else if (shift == ShiftState::Alt) {
            modKey = vk::Alt;
        }
        hotKey = keyCode;
    }
    // The user closed the window without pressing a key: the capture ends, nothing changes.
    void formClosed() { closedWithoutKey = true; }

    bool waiting() const { return hotKey == kNothing && !closedWithoutKey; }

    int hotKey = kNothing;
    int modKey = 0;
    bool closedWithoutKey = false;
};

} // namespace zorlo
