#pragma once

#include "text/Text.hpp"

#include <cstddef>

namespace zorlo {

// The order-key comparison looks at no more than this many characters of a name.
inline constexpr std::size_t kOrderKeyLength = 998;

// The order key of a character from 0x80 on, through the code page.
int orderKeyBeyondAscii(char16_t c);

// The order key of one character: its Windows-1252 code, less 32 above 'Z', so
// that letters key alike whatever their case. A character that the code page
// cannot hold keys after every 8-bit character, by its own code. Inline: every
// comparison of names in a load asks it for each character.
inline int orderKey(char16_t c) {
    return c < 0x80 ? (c > 90 ? c - 32 : c) : orderKeyBeyondAscii(c);
}

// Whether the stored name is greater than the new name under the order key.
// Throws Failure when either name is empty (there is no first character to compare).
bool orderKeyGreater(TextView stored, TextView name);

} // namespace zorlo
