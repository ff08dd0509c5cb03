#pragma once

#include <vector>

namespace zorlo::x11 {

// Windows virtual-key codes <-> X keysyms. The console keeps Windows codes in
// its parameter file, so the X adapters translate at the edge.

// Every keysym that stands for the key; a generic modifier code (16 Shift,
// 17 Ctrl, 18 Alt) stands for both its left and its right key. Empty when the
// code has no X counterpart.
std::vector<unsigned long> keysymsForVirtualKey(int virtualKey);

// The code for a keysym as found on an unshifted key, 0 when there is none.
int virtualKeyForKeysym(unsigned long keysym);

// Keypad keysyms change meaning with Num Lock, so callers take their code from
// the toolkit instead.
bool isKeypadKeysym(unsigned long keysym);

} // namespace zorlo::x11
