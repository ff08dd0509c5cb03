#pragma once

#include "platform/EventPump.hpp"

namespace zorlo::win32 {

// Runs every pending message of this thread. When nothing was pending it waits
// a few milliseconds for the next one, so that a loop around doEvents (the
// hotkey capture) does not spin a processor core at full speed.
class Win32EventPump : public EventPump {
  public:
    void doEvents() override;
};

} // namespace zorlo::win32
