#include "platform/x11/X11KeyboardState.hpp"

#include "platform/x11/VirtualKeys.hpp"
#include "platform/x11/XDisplay.hpp"

namespace zorlo {

X11KeyboardState::X11KeyboardState(std::shared_ptr<const x11::XDisplay> display)
    : display_(std::move(display)) {}

bool X11KeyboardState::isKeyDown(int virtualKey) const {
    if (!display_->available()) {
        return false;
    }
    const auto keysyms = x11::keysymsForVirtualKey(virtualKey);
    return display_->anyKeyDown(keysyms.data(), static_cast<int>(keysyms.size()));
}

} // namespace zorlo
