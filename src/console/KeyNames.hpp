#pragma once

#include "text/Text.hpp"

namespace zorlo {

// What a user calls a key, by Windows virtual-key code: "F12", "A", "Page Up".
// Every front end names keys from this one table. A code that no key on a
// common keyboard produces reads "Key " and the code.
Text keyName(int virtualKey);

// A hotkey as the user presses it: the modifier's name (0 for none) joined to
// the key's by a plus sign, as in "Ctrl+F9".
Text hotkeyName(int virtualKey, int modifier);

// The same hotkey in the desktop's shortcut syntax (modifier names in capitals,
// the key by its keysym name): "CTRL+F9", "F12", "SHIFT+Page_Up". Empty for a
// key or modifier that the syntax cannot name.
Text shortcutTrigger(int virtualKey, int modifier);

} // namespace zorlo
