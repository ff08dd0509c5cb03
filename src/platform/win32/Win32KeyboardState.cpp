#include "platform/win32/Win32KeyboardState.hpp"

#include <windows.h>

namespace zorlo::win32 {

bool Win32KeyboardState::isKeyDown(int virtualKey) const {
    if (virtualKey < 1 || virtualKey > 254) {
        return false;
    }
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

} // namespace zorlo::win32
