#include "platform/wayland/ActivationToken.hpp"

#include <algorithm>

namespace zorlo::wayland {

bool isAcceptableActivationToken(std::string_view token) {
    if (token.empty() || token.size() > kMaxActivationToken) {
        return false;
    }
    return std::all_of(token.begin(), token.end(), [](char c) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit = c >= '0' && c <= '9';
        return letter || digit ||
               std::string_view("-_.:/+=@,~#%").find(c) != std::string_view::npos;
    });
}

} // namespace zorlo::wayland
