#include "platform/win32/Foreground.hpp"

namespace zorlo::win32 {

void bringToFront(HWND window) {
    const HWND front = GetForegroundWindow();
    const DWORD frontThread = front != nullptr ? GetWindowThreadProcessId(front, nullptr) : 0;
    const DWORD ownThread = GetCurrentThreadId();
    const bool attach = frontThread != 0 && frontThread != ownThread;
    if (attach) {
        AttachThreadInput(frontThread, ownThread, TRUE);
    }
    SetForegroundWindow(window);
    if (attach) {
        AttachThreadInput(frontThread, ownThread, FALSE);
    }
}

void leaveTopmost(HWND window) {
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

} // namespace zorlo::win32
