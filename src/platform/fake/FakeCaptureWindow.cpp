#include "platform/fake/FakeCaptureWindow.hpp"

#include "platform/HotkeyCapture.hpp"

namespace zorlo {

void FakeCaptureWindow::show(HotkeyCapture& capture, int leftTwips, int topTwips) {
    capture_ = &capture;
    left_ = leftTwips;
    top_ = topTwips;
    capture.formLoad();
}

void FakeCaptureWindow::close() {
    if (capture_ == nullptr) {
        return;
    }
    log_.record(FakeEvent{"capture",
                          {{"left", static_cast<long long>(left_)},
                           {"top", static_cast<long long>(top_)},
                           {"hotKey", static_cast<long long>(capture_->hotKey)},
                           {"modKey", static_cast<long long>(capture_->modKey)}}});
    capture_ = nullptr;
}

void FakeCaptureWindow::deliverNext() {
    if (capture_ == nullptr || !capture_->waiting()) {
        return;
    }
    std::optional<Press> press;
    if (!presses_.empty()) {
        press = presses_.front();
        presses_.pop_front();
    }
    if (press) {
        capture_->formKeyDown(press->virtualKey, press->shift);
    } else {
        capture_->formClosed();
        close();
    }
}

} // namespace zorlo
