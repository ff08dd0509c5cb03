#pragma once

#include "console/Console.hpp"
#include "ui/ConsoleEvents.hpp"

namespace zorlo {

// Hands every window event to the console engine's event procedure.
class EngineEvents : public ConsoleEvents {
  public:
    explicit EngineEvents(Console& console) : console_(console) {}
    void formLoad() override { console_.formLoad(); }
    void formUnload() override { console_.formUnload(); }
    void formResize() override { console_.formResize(); }
    void textChange() override { console_.txtCLI_Change(); }
    void textKeyDown(int& keyCode, int shift) override { console_.txtCLI_KeyDown(keyCode, shift); }
    void textKeyUp(int keyCode, int shift) override { console_.txtCLI_KeyUp(keyCode, shift); }
    void textMouseUp(int button, int shift) override { console_.txtCLI_MouseUp(button, shift); }
    void textDrop(const DroppedData& data, int shift) override {
        console_.txtCLI_OLEDragDrop(data, shift);
    }
    void timerTick() override { console_.theTimer_Timer(); }
    void togglePressed() override { console_.togglePressed(); }

  private:
    Console& console_;
};

} // namespace zorlo
