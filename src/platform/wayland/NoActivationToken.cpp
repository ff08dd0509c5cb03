#include "platform/wayland/ActivationToken.hpp"

namespace zorlo::wayland {

// Built without the Wayland client library: no session is ever asked.
std::optional<std::string> requestActivationToken(const std::string&, int) {
    return std::nullopt;
}

} // namespace zorlo::wayland
