#include "platform/win32/Win32EventPump.hpp"

#include <windows.h>

namespace zorlo::win32 {

namespace {
constexpr DWORD kIdleWaitMs = 10;
}

void Win32EventPump::doEvents() {
    bool handled = false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        handled = true;
        if (message.message == WM_QUIT) {
            // The quit belongs to the outer message loop; hand it back.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (!handled) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kIdleWaitMs, QS_ALLINPUT);
    }
}

} // namespace zorlo::win32
