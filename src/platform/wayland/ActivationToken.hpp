#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorlo::wayland {

// A fresh xdg-activation token from the Wayland compositor that WAYLAND_DISPLAY
// names, for a window of appId (may be empty) that this or another process is
// about to show. The token lets that window take the keyboard where the
// compositor's focus-stealing guard would otherwise only mark it urgent.
// Asked on a connection of its own and without a surface, which the protocol
// allows; bounded by timeoutMs. Nothing when there is no Wayland session, the
// compositor offers no activation, does not answer in time, or answers with a
// token that isAcceptableActivationToken refuses.
std::optional<std::string> requestActivationToken(const std::string& appId, int timeoutMs = 1000);

// Tokens arrive from other processes (the environment, the hand-over between
// starts): one is used only when it is short, non-empty and made of letters,
// digits and the punctuation that compositors and startup ids use, so that no
// quoting, blank or line break can ride along with it.
bool isAcceptableActivationToken(std::string_view token);

// The longest token taken, in bytes; a hand-over request with it stays well
// under the channel's 1 KiB.
inline constexpr std::size_t kMaxActivationToken = 512;

} // namespace zorlo::wayland
