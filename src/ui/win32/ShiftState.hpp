#pragma once

namespace zorlo::win32 {

// The engine's shift bits (1 Shift, 2 Ctrl, 4 Alt) from the key state of this
// thread, as it stood when the message being handled was posted.
int shiftFromKeyboard();

// The same bits from the MK_* flags of a mouse or drop event; Alt is not among
// the mouse flags and is read from the keyboard.
int shiftFromMouseFlags(unsigned flags);
int shiftFromDropKeyState(unsigned keyState);

} // namespace zorlo::win32
