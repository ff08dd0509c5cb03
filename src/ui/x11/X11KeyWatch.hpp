#pragma once

#include "ui/KeyWatch.hpp"

#include <QSocketNotifier>

#include <memory>

namespace zorlo {

// Key changes as the X server reports them to the program's own connection
// (XInput 2.1 raw key events): the socket turning readable wakes the window's
// thread, which takes the events in.
class X11KeyWatch : public KeyWatch {
  public:
    // Null where the server does not report key changes.
    static std::unique_ptr<X11KeyWatch> create();
    ~X11KeyWatch() override;
    void setListener(std::function<void()> changed) override;

  private:
    explicit X11KeyWatch(int socket);
    QSocketNotifier notifier_;
};

} // namespace zorlo
