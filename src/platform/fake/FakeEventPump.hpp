#pragma once

#include "platform/EventPump.hpp"

namespace zorlo {

class FakeCaptureWindow;

// Nothing is ever pending on the fake desktop except keys for an open capture
// window: each pass of the loop hands that window its next key, or closes it.
class FakeEventPump : public EventPump {
  public:
    explicit FakeEventPump(FakeCaptureWindow& captureWindow) : captureWindow_(captureWindow) {}
    void doEvents() override;

  private:
    FakeCaptureWindow& captureWindow_;
};

} // namespace zorlo
