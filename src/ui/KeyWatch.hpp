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
    // After each tick of the console's timer. Until the next one, the keyboard
    // port reads a key that went down and up since this tick as down, so a tap
    // shorter than a tick is one press, not none; presses before it are old news.
    virtual void ticked() = 0;
};

} // namespace zorlo
