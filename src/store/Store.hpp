#pragma once

#include "platform/Dialogs.hpp"
#include "store/BinList.hpp"
#include "store/StatusSink.hpp"

namespace zorlo {

// The title of the console's boxes.
inline constexpr TextView kAppTitle = u"Zorlo Console";

// The order key of one character: its Windows-1252 code, less 32 above 'Z', so
// that letters key alike whatever their case. A character that the code page
// cannot hold keys after every 8-bit character, by its own code.
int orderKey(char16_t c);

// Whether the stored name is greater than the new name under the order key.
// Throws Failure when either name is empty (there is no first character to compare).
bool orderKeyGreater(TextView stored, TextView name);

// The VALUE of the first pair whose NAME matches the pattern, or empty text.
// A failure shows the box "Cannot get item: " + pattern and gives empty text.
Text getItem(const BinList& list, TextView pattern, Dialogs& dialogs);

// Lowercases the caller's name (A to Z), then replaces the value of the first
// pair whose NAME matches that name as a pattern, or inserts a new pair at its
// place in order-key order. A failure is reported as "Error adding ..." and
// gives false, leaving the list as it was.
bool addItem(BinList& list, Text& name, const Text& value, StatusSink& status);

} // namespace zorlo
