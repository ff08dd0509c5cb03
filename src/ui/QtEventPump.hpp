#pragma once

#include "platform/EventPump.hpp"

#include <QTimer>

namespace zorlo {

// Runs the toolkit's pending events on the engine's request; keyboard and
// mouse input only where the engine waits on the user.
class QtEventPump : public EventPump {
  public:
    QtEventPump();
    void doEvents() override;
    // Sleeps until an event arrives, but never longer than a short guard time,
    // so a waiting loop neither spins nor hangs when no timer is running.
    void waitForEvents() override;

  private:
    QTimer guard_;
};

} // namespace zorlo
