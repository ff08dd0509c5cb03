#pragma once

#include "store/BinList.hpp"

namespace zorlo {

// The settings file format: two double-quoted lines per pair, CR LF after
// every line; an empty list is an empty text.
Text formatSettings(const BinList& list);

// Whether the format can hold a name or value: nothing escapes a double quote
// or a line break inside a field.
bool fitsSettingsFormat(TextView text);

// The lenient reader: fields end at a comma outside quotes or at the line end;
// blanks before a field are skipped; a quoted field is the text up to the next
// quote and what follows it up to the field's end is ignored; an unquoted field
// is trimmed. Blank lines at the very end of the file count as its end.
class SettingsReader {
  public:
    explicit SettingsReader(Text content);
    bool atEnd() const;
    // Throws Failure when the file has already ended.
    Text readField();

  private:
    void skipLineEnd();
    bool atLineEnd() const;

    Text text_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

} // namespace zorlo
