#include "platform/HotkeyCapture.hpp"

#include "platform/KeyCodes.hpp"

namespace zorlo {

void HotkeyCapture::formKeyDown(int keyCode, int shift) {
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
