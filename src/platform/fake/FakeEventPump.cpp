#include "platform/fake/FakeEventPump.hpp"

#include "platform/fake/FakeCaptureWindow.hpp"

namespace zorlo {

void FakeEventPump::doEvents() {
    if (captureWindow_.isOpen()) {
        captureWindow_.deliverNext();
    }
}

} // namespace zorlo
