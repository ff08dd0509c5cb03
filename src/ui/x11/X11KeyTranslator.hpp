#pragma once

#include "ui/KeyTranslator.hpp"

namespace zorlo {

// Takes the virtual-key code from the physical key (its unshifted keysym), as
// Windows does, so Shift+1 is key 49 on any layout; keypad and unknown keys fall
// back to the toolkit's key.
class X11KeyTranslator : public KeyTranslator {
  public:
    int virtualKey(const QKeyEvent& event) const override;
};

} // namespace zorlo
