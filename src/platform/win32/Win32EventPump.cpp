#include "platform/win32/Win32EventPump.hpp"

#include <windows.h>

namespace zorlo::win32 {

namespace {
constexpr DWORD kIdleWaitMs = 10;
// Posted and sent messages, timers and repaints: everything but keyboard and
// mouse input, which stays in the thread's input queue in the order it came.
constexpr UINT kAllButInput = PM_QS_POSTMESSAGE | PM_QS_PAINT | PM_QS_SENDMESSAGE;

void pump(UINT filter) {
    bool handled = false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | filter)) {
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

} // namespace

// Keys and clicks made while a command runs reach the console once it is
// over, exactly as if typed then; let through here they would land in the
// middle of the command's output. A command starts from the character of
// its Enter, so no character of a later key has been translated yet.
void Win32EventPump::doEvents() {
    pump(kAllButInput);
}

// The capture window waits on a key: here input must come through.
void Win32EventPump::waitForEvents() {
    pump(0);
}

} // namespace zorlo::win32
