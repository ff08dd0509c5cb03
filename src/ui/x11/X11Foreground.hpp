#pragma once

#include "ui/Foreground.hpp"

namespace zorlo {

// On X11 the toolkit's own activation request carries the time of the last
// input the console saw, which a focus-stealing guard refuses after a polled
// hotkey; asking the window manager as a pager does gets through.
class X11Foreground : public Foreground {
  public:
    void bringToFront(QWidget& window) override;
};

} // namespace zorlo
