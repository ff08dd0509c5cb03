#pragma once

#include "ui/Foreground.hpp"

#include <memory>

namespace zorlo {

namespace x11 {
class XDisplay;
}

// On X11 the toolkit's own activation request carries the time of the last
// input the console saw, which a focus-stealing guard refuses after a polled
// hotkey; asking the window manager as a pager does gets through.
class X11Foreground : public Foreground {
  public:
    explicit X11Foreground(std::shared_ptr<const x11::XDisplay> display);
    void bringToFront(QWidget& window) override;

  private:
    std::shared_ptr<const x11::XDisplay> display_;
};

} // namespace zorlo
