#pragma once

#include "ui/Foreground.hpp"

#include <memory>

namespace zorlo {

namespace x11 {
class XDisplay;
}

// On X11 the toolkit's own activation request carries the time of the last
// input the console saw, which a focus-stealing guard refuses after a polled
// hotkey; asking the window manager as a pager does gets through. Whether the
// console is in front is the X server's word (the window manager's
// _NET_ACTIVE_WINDOW): under XWayland the toolkit's own idea lags behind
// focus that moves to Wayland windows, which the X server does report.
class X11Foreground : public Foreground {
  public:
    explicit X11Foreground(std::shared_ptr<const x11::XDisplay> display);
    bool isForeground(const QWidget& window) const override;
    void bringToFront(QWidget& window) override;

  private:
    std::shared_ptr<const x11::XDisplay> display_;
};

} // namespace zorlo
