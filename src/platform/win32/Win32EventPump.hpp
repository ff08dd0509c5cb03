#pragma once

#include "platform/EventPump.hpp"

namespace zorlo::win32 {

// Runs the pending messages of this thread: doEvents all but keyboard and
// mouse input, waitForEvents every one. When nothing was pending each waits a
// few milliseconds for the next one, so that a loop around it (the hotkey
// capture) does not spin a processor core at full speed.
class Win32EventPump : public EventPump {
  public:
    void doEvents() override;
    void waitForEvents() override;
};

} // namespace zorlo::win32
