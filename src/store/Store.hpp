#pragma once

#include "store/BinList.hpp"
#include "store/OrderKey.hpp"
#include "store/StatusSink.hpp"

namespace zorlo {

// The title of the console's boxes.
inline constexpr TextView kAppTitle = u"Zorlo Console";

// The VALUE of the first pair whose NAME matches the pattern, or empty text.
// A failure shows the box "Cannot get item: " + pattern and gives empty text.
Text getItem(const BinList& list, TextView pattern, MessageSink& dialogs);

// Lowercases the caller's name (A to Z), then replaces the value of the first
// pair whose NAME matches that name as a pattern, or inserts a new pair at its
// place in order-key order. A failure is reported as "Error adding ..." and
// gives false, leaving the list as it was.
bool addItem(BinList& list, Text& name, TextView value, StatusSink& status);

// Adds the pair to a listing as "NAME (VALUE)", a line break before every
// line but the first: how list, find and listparams show pairs.
void appendListing(Text& listing, BinView bin);

// The store's walks, answered from the list's index where the text or
// pattern allows it and by walking where it does not, with the walk's results
// and failures. Positions from 1; 0 means none; each looks only at the
// pairs after position `after`.

// The first pair whose NAME, as the text, matches `pattern`. Throws Failure for
// an invalid pattern when there is a pair to compare.
std::size_t findItem(const BinList& list, TextView pattern, std::size_t after = 0);

// The first pair whose NAME, taken as the pattern, matches `text`. Throws the
// Failure of the first stored name on the way that is no valid pattern.
std::size_t findNameMatching(const BinList& list, TextView text, std::size_t after = 0);

// Argument expansion: every pair whose NAME, taken as the pattern, matches the
// text replaces the text by its VALUE, in list order, the later names comparing
// with the replaced text. True when any did. A stored name that is no valid
// pattern fails when the walk reaches it, the replacements before it made.
bool expandArgument(const BinList& list, Text& text);

// The first pair whose NAME's first L characters (all of it when shorter)
// match `word` of length L as the pattern. Throws Failure for an invalid word
// when there is a pair to compare.
std::size_t findPrefixMatch(const BinList& list, TextView word, std::size_t after = 0);

} // namespace zorlo
