#include "console/Console.hpp"

namespace zorlo {

// A desktop that lets no program read the global key state binds the console
// to a key by starting the program again; that start arrives here and counts
// as one press of the hotkey. A press the tick would ignore is ignored too.
void Console::togglePressed() {
    if (exitRequested || !xTimers) {
        return;
    }
    if (hotkeyOffBehindOthers()) {
        return;
    }
    actOnPress();
}

void Console::hideAfterStart() {
    hideWindow();
    hidden = true;
}

} // namespace zorlo
