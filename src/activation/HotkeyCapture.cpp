#include "activation/HotkeyCapture.hpp"

#include "activation/KeyCodes.hpp"

namespace zorlo {

void HotkeyCapture::formKeyDown(int keyCode, int shift) {
    // Esc is how a user backs out of a window; as the hotkey it would also
    // toggle the console out of every other program.
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

} // namespace zorlo
