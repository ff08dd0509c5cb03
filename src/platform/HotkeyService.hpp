#pragma once

#include "text/Text.hpp"

namespace zorlo {

class ConsoleEvents;

// How a key pressed anywhere on the desktop reaches the console. Where programs
// may read the keyboard (X11, Windows) the console samples the key itself;
// where they may not (Wayland), the desktop has to bind the key for it, or the
// user binds one in the desktop's settings to start the program again.
class HotkeyService {
  public:
    enum class Way {
        Poll,      // the console's timer samples the key
        Desktop,   // the desktop binds a key for the program and says when it is pressed
        Compositor // only a key bound in the desktop's settings to start `zorlo`
    };

    virtual ~HotkeyService() = default;
    // Decided once, quickly: a desktop that does not answer at once counts as
    // offering no binding.
    virtual Way way() = 0;
    // Way Desktop only: asks the desktop for a new binding. preferredTrigger is
    // in the desktop's shortcut syntax ("CTRL+F12"), empty to leave the key to
    // the desktop; the desktop has the last word. Each call starts afresh and
    // forgets the binding before it. The answer comes later through
    // ConsoleEvents::hotkeyBound, each press through ConsoleEvents::togglePressed.
    virtual void bind(const Text& preferredTrigger) = 0;
    // Where the answers and presses go; null: nowhere. Set by whoever wires the
    // console, never by the console itself.
    virtual void setEvents(ConsoleEvents* events) = 0;

    // The service of a desktop where the timer samples the key.
    static HotkeyService& polled() {
        class Polled final : public HotkeyService {
          public:
            Way way() override { return Way::Poll; }
            void bind(const Text& /*preferredTrigger*/) override {}
            void setEvents(ConsoleEvents* /*events*/) override {}
        };
        static Polled polled;
        return polled;
    }
};

} // namespace zorlo
