#pragma once

#include "console/Console.hpp"
#include "platform/ConsoleEvents.hpp"

#include <functional>
#include <utility>

namespace zorlo {

// Hands every window event to the console engine's event procedure. Any event
// but the tick may change what the next tick does, so each one wakes the
// resting timer, before (the engine may wait for the user inside) and after.
class EngineEvents : public ConsoleEvents {
  public:
    EngineEvents(Console& console, std::function<void()> wakeTimer)
        : console_(console), wakeTimer_(std::move(wakeTimer)) {}
    void formLoad() override {
        deliver([&] { console_.formLoad(); });
    }
    bool formUnload() override {
        bool closes = true;
        deliver([&] { closes = console_.formUnload(); });
        return closes;
    }
    Text endSession() override { return console_.endSession(); }
    void formResize() override {
        deliver([&] { console_.formResize(); });
    }
    void textChange() override {
        deliver([&] { console_.txtCLI_Change(); });
    }
    void textKeyDown(int& keyCode, int shift) override {
        deliver([&] { console_.txtCLI_KeyDown(keyCode, shift); });
    }
    void textKeyUp(int keyCode, int shift) override {
        deliver([&] { console_.txtCLI_KeyUp(keyCode, shift); });
    }
    void textMouseUp(int button, int shift) override {
        deliver([&] { console_.txtCLI_MouseUp(button, shift); });
    }
    void textDrop(const DroppedData& data, int shift) override {
        deliver([&] { console_.txtCLI_OLEDragDrop(data, shift); });
    }
    void timerTick() override { console_.theTimer_Timer(); }
    bool timerMayRest() const override { return console_.theTimerMayRest(); }
    void togglePressed() override {
        deliver([&] { console_.togglePressed(); });
    }

  private:
    template <typename Event> void deliver(const Event& event) {
        wakeTimer_();
        event();
        wakeTimer_();
    }

    Console& console_;
    std::function<void()> wakeTimer_;
};

} // namespace zorlo
