#pragma once

#include "ui/KeyTranslator.hpp"

#include <memory>

namespace zorlo {

namespace x11 {
class XDisplay;
}

// Takes the virtual-key code from the physical key (its unshifted keysym), as
// Windows does, so Shift+1 is key 49 on any layout; keypad and unknown keys fall
// back to the toolkit's key.
class X11KeyTranslator : public KeyTranslator {
  public:
    explicit X11KeyTranslator(std::shared_ptr<const x11::XDisplay> display);
    int virtualKey(const QKeyEvent& event) const override;

  private:
    std::shared_ptr<const x11::XDisplay> display_;
};

} // namespace zorlo
