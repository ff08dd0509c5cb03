#pragma once

#include "platform/ConsoleEvents.hpp"

#include <functional>
#include <utility>

namespace zorlo {

// Hands every window event on to the console engine. Any event
// but the tick may change what the next tick does, so each one wakes the
// resting timer, before (the engine may wait for the user inside) and after.
class EngineEvents : public ConsoleEvents {
  public:
    EngineEvents(ConsoleEvents& console, std::function<void()> wakeTimer)
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
        deliver([&] { console_.textChange(); });
    }
    void textKeyDown(int& keyCode, int shift) override {
        deliver([&] { console_.textKeyDown(keyCode, shift); });
    }
    void textKeyUp(int keyCode, int shift) override {
        deliver([&] { console_.textKeyUp(keyCode, shift); });
    }
    void textMouseUp(int button, int shift) override {
        deliver([&] { console_.textMouseUp(button, shift); });
    }
    void textDrop(const DroppedData& data, int shift) override {
        deliver([&] { console_.textDrop(data, shift); });
    }
    void timerTick() override { console_.timerTick(); }
    bool timerMayRest() const override { return console_.timerMayRest(); }
    void togglePressed() override {
        deliver([&] { console_.togglePressed(); });
    }
    void hideAfterStart() override {
        deliver([&] { console_.hideAfterStart(); });
    }
    void applicationsRead(std::vector<Application> apps) override {
        deliver([&] { console_.applicationsRead(std::move(apps)); });
    }

  private:
    template <typename Event> void deliver(const Event& event) {
        wakeTimer_();
        event();
        wakeTimer_();
    }

    ConsoleEvents& console_;
    std::function<void()> wakeTimer_;
};

} // namespace zorlo
