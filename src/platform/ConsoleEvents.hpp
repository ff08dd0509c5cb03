#pragma once

#include "platform/Applications.hpp"
#include "text/Text.hpp"

#include <vector>

namespace zorlo {

class DroppedData;

// The one way into the console: the window events that every front end, the
// fake desktop and zorlo-script hand on. The console engine is the one real
// receiver; the indirection keeps the front ends and the fakes free of the
// engine's class and lets the widget adapters be tested alone.
class ConsoleEvents {
  public:
    virtual ~ConsoleEvents() = default;
    virtual void formLoad() = 0;
    // False: the console stays open (the user kept it after a failed save).
    virtual bool formUnload() = 0;
    // The program ends where nobody can answer: returns why the save failed,
    // empty when it saved.
    virtual Text endSession() = 0;
    virtual void formResize() = 0;
    virtual void textChange() = 0;
    // May cancel the key by setting keyCode to 0.
    virtual void textKeyDown(int& keyCode, int shift) = 0;
    virtual void textKeyUp(int keyCode, int shift) = 0;
    virtual void textMouseUp(int button, int shift) = 0;
    virtual void textDrop(const DroppedData& data, int shift) = 0;
    virtual void timerTick() = 0;
    // After a tick: whether the timer may stop until something happens.
    virtual bool timerMayRest() const = 0;
    // Another start of the program asked for the console: one hotkey press.
    virtual void togglePressed() = 0;
    // Right after formLoad, for a start that must not pop up (the one at
    // login): the console is hidden as the hotkey hides it, so the next press
    // shows it, whatever `active` says.
    virtual void hideAfterStart() = 0;
    // The desktop's installed applications, the whole list each time (read at
    // start-up and again when the application folders change): it replaces
    // the one the console held.
    virtual void applicationsRead(std::vector<Application> apps) = 0;
};

} // namespace zorlo
