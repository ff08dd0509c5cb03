#pragma once

namespace zorlo {

// The state of a key for the whole desktop, by Windows virtual-key code
// (123 is F12 on every platform). Unknown codes, or a desktop that does not let
// programs read global key state, read as up.
class KeyboardState {
  public:
    virtual ~KeyboardState() = default;
    virtual bool isKeyDown(int virtualKey) const = 0;
};

} // namespace zorlo
