#pragma once

#include "platform/KeyboardState.hpp"

namespace zorlo::win32 {

// GetAsyncKeyState: the key's state for the whole desktop, not only for the
// keys that reached this program's thread, so the hotkey works from any program.
class Win32KeyboardState : public KeyboardState {
  public:
    bool isKeyDown(int virtualKey) const override;
};

} // namespace zorlo::win32
