#pragma once

#include "ui/KeyWatch.hpp"

#include <QSocketNotifier>

#include <memory>

namespace zorlo {

namespace x11 {
class XDisplay;
}

// Key changes as the X server reports them to the program's own connection
// (XInput 2.1 raw key events): the socket turning readable wakes the window's
// thread, which takes the events in.
class X11KeyWatch : public KeyWatch {
  public:
    // Null where the server does not report key changes.
    static std::unique_ptr<X11KeyWatch> create(std::shared_ptr<x11::XDisplay> display);
    ~X11KeyWatch() override;
    void setListener(std::function<void()> changed) override;
    void ticked() override;

  private:
    explicit X11KeyWatch(std::shared_ptr<x11::XDisplay> display);
    std::shared_ptr<x11::XDisplay> display_;
    QSocketNotifier notifier_;
};

} // namespace zorlo
