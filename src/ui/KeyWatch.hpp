#pragma once

#include <functional>

namespace zorlo {

// Word from the desktop that keys went down or up anywhere on it. With it the
// console's timer can rest while nothing moves instead of sampling the keys 20
// times a second; where the desktop gives no such word there is no watch, and
// the timer runs all the time.
class KeyWatch {
  public:
    virtual ~KeyWatch() = default;
    // `changed` runs on the window's thread, after the change is readable
    // through the keyboard port.
    virtual void setListener(std::function<void()> changed) = 0;
};

} // namespace zorlo
