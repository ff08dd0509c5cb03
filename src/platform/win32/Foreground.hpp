#pragma once

#include <windows.h>

namespace zorlo::win32 {

// Makes the window the foreground window. Windows refuses SetForegroundWindow
// to a program that is not in front, so the console's thread is attached to
// the input of the thread that owns the foreground window for the one call.
void bringToFront(HWND window);

// SetWindowPos(HWND_NOTOPMOST, SWP_NOMOVE | SWP_NOSIZE): out of the topmost
// band, place and size unchanged.
void leaveTopmost(HWND window);

} // namespace zorlo::win32
