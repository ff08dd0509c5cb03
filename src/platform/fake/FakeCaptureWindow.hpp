#pragma once

#include "platform/CaptureWindow.hpp"
#include "platform/fake/FakeEvent.hpp"

#include <deque>
#include <optional>

namespace zorlo {

// The hotkey capture window. Keys pressed in it are queued beforehand and
// handed over one per event-loop pass; when the queue runs dry (or holds a
// close) the user closes the window, so a capture always ends.
class FakeCaptureWindow : public CaptureWindow {
  public:
    struct Press {
        int virtualKey = 0;
        int shift = 0;
    };

    explicit FakeCaptureWindow(FakeEventLog& log) : log_(log) {}

    // nullopt stands for the user closing the window without a key.
    void queuePress(std::optional<Press> press) { presses_.push_back(press); }

    void show(HotkeyCapture& capture, int leftTwips, int topTwips) override;
    void close() override;

    bool isOpen() const { return capture_ != nullptr; }
    // One pass of the event loop while the window is open: the next queued key
    // goes down in it, or the user closes it.
    void deliverNext();

  private:
    FakeEventLog& log_;
    HotkeyCapture* capture_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    std::deque<std::optional<Press>> presses_;
};

} // namespace zorlo
