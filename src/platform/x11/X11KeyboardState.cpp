#include "platform/x11/X11KeyboardState.hpp"

#include "platform/x11/VirtualKeys.hpp"
#include "platform/x11/XDisplay.hpp"

namespace zorlo {

bool X11KeyboardState::isKeyDown(int virtualKey) const {
    const x11::XDisplay& display = x11::XDisplay::instance();
    if (!display.available()) {
        return false;
    }
    const auto keysyms = x11::keysymsForVirtualKey(virtualKey);
    return display.anyKeyDown(keysyms.data(), static_cast<int>(keysyms.size()));
}

} // namespace zorlo
