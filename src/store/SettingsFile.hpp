#pragma once

#include "store/BinList.hpp"
#include "store/StatusSink.hpp"

#include <optional>

namespace zorlo {

// The settings file format: two double-quoted lines per pair, CR LF after
// every line; an empty list is an empty text.
Text formatSettings(const BinList& list);

// Whether the format can hold a name or value: nothing escapes a double quote
// or a line break inside a field.
bool fitsSettingsFormat(TextView text);

// Why a pair must not enter a list, as the report "Cannot store NAME: reason";
// nullopt when it may. The format cannot hold a double quote or a line break.
// A name that is no valid pattern is refused where it would be stored as it is
// (into an empty list, where no comparison catches it): once stored, every walk
// that takes stored names as patterns would fail on it, and no command could
// remove it. An empty name is refused there too: every later comparison with it
// fails. The pattern is checked as the name will be stored: lowercased, as
// addItem stores it, unless storedLowercase is false (a rename keeps the case).
std::optional<Text> storeRefusal(TextView name, TextView value, bool storedAsIs,
                                 bool storedLowercase = true);

// The lenient reader: fields end at a comma outside quotes or at the line end;
// blanks before a field are skipped; a quoted field is the text up to the next
// quote and what follows it up to the field's end is ignored; an unquoted field
// is trimmed. Blank lines at the very end of the file count as its end.
class SettingsReader {
  public:
    explicit SettingsReader(Text content);
    bool atEnd() const;
    // The next field, as a view into the reader's own text that holds as long
    // as the reader does: a load copies a value only into the list. Throws
    // Failure when the file has already ended.
    TextView readField();
    // Whether the field last read was quoted: it then ended at its quote or
    // its line's end, so it holds neither a double quote nor a line break.
    bool lastQuoted() const { return quoted_; }

  private:
    Text text_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool quoted_ = false;
};

// Reads every pair of a settings text into the list through addItem, as a load
// does. A pair whose name or value the format could not write back (an unquoted
// field may hold a double quote) is refused with the cannot-store report, since
// the next save would cut it. Returns false when some pair did not end up in the
// list as a pair of its own (refused, failed, or merged into an earlier one): the
// file then holds something the list does not, and must be kept before the next
// save replaces it. Throws Failure when the text ends after a name.
bool readSettingsInto(Text content, BinList& list, StatusSink& status);

} // namespace zorlo
