#pragma once

#include "platform/KeyboardState.hpp"

namespace zorlo {

// Global key state from XQueryKeymap: the virtual-key code becomes keysyms,
// the keysyms key codes. Without an X display every key reads as up.
class X11KeyboardState : public KeyboardState {
  public:
    bool isKeyDown(int virtualKey) const override;
};

} // namespace zorlo
