#include "ui/win32/ShiftState.hpp"

#include "platform/KeyCodes.hpp"

#include <windows.h>

#include <ole2.h>

namespace zorlo::win32 {

namespace {
bool down(int key) {
    return GetKeyState(key) < 0;
}
} // namespace

int shiftFromKeyboard() {
    return (down(VK_SHIFT) ? ShiftState::Shift : 0) | (down(VK_CONTROL) ? ShiftState::Ctrl : 0) |
           (down(VK_MENU) ? ShiftState::Alt : 0);
}

int shiftFromMouseFlags(unsigned flags) {
    return ((flags & MK_SHIFT) != 0 ? ShiftState::Shift : 0) |
           ((flags & MK_CONTROL) != 0 ? ShiftState::Ctrl : 0) |
           (down(VK_MENU) ? ShiftState::Alt : 0);
}

int shiftFromDropKeyState(unsigned keyState) {
    return ((keyState & MK_SHIFT) != 0 ? ShiftState::Shift : 0) |
           ((keyState & MK_CONTROL) != 0 ? ShiftState::Ctrl : 0) |
           ((keyState & MK_ALT) != 0 ? ShiftState::Alt : 0);
}

} // namespace zorlo::win32
