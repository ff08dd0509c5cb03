#pragma once

#include "platform/KeyboardState.hpp"

#include <memory>

namespace zorlo {

namespace x11 {
class XDisplay;
}

// Global key state from XQueryKeymap: the virtual-key code becomes keysyms,
// the keysyms key codes. Without an X display every key reads as up.
class X11KeyboardState : public KeyboardState {
  public:
    explicit X11KeyboardState(std::shared_ptr<const x11::XDisplay> display);
    bool isKeyDown(int virtualKey) const override;

  private:
    std::shared_ptr<const x11::XDisplay> display_;
};

} // namespace zorlo
