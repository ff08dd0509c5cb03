#pragma once

#include "platform/ConsoleEvents.hpp"
#include "platform/HotkeyService.hpp"
#include "platform/fake/FakeEvent.hpp"

namespace zorlo {

// A desktop of any of the three kinds (the poll, a desktop that binds keys,
// one where only its own settings do); each binding asked for is recorded, and
// the desktop's answers and presses are played in by the script.
class FakeHotkeyService : public HotkeyService {
  public:
    explicit FakeHotkeyService(FakeEventLog& log) : log_(log) {}
    Way way() override { return way_; }
    void bind(const Text& preferredTrigger) override {
        log_.record(FakeEvent{"bind", {{"trigger", preferredTrigger}}});
    }
    void setEvents(ConsoleEvents* events) override { events_ = events; }

    void setWay(Way way) { way_ = way; }
    void bound(const Text& trigger) {
        if (events_ != nullptr) {
            events_->hotkeyBound(trigger);
        }
    }
    void pressed() {
        if (events_ != nullptr) {
            events_->togglePressed();
        }
    }

  private:
    FakeEventLog& log_;
    ConsoleEvents* events_ = nullptr;
    Way way_ = Way::Poll;
};

} // namespace zorlo
