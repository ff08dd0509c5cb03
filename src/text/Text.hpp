#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zorlo {

// Engine text is UTF-16, one unit per character, the unit that the Qt text area
// counts carets in, so positions pass between engine and widget unchanged.
using Text = std::u16string;
using TextView = std::u16string_view;

inline constexpr char16_t CR = u'\r';
inline constexpr char16_t LF = u'\n';
inline constexpr TextView CRLF = u"\r\n";

// UTF-8 <-> engine text. Invalid UTF-8 bytes decode as U+FFFD.
Text fromUtf8(std::string_view utf8);
std::string toUtf8(TextView text);

// Letters fold without regard to the process locale: ASCII, Latin-1 and the
// letters that Windows-1252 adds (Š, Œ, Ž, Ÿ). Inline for ASCII: a load folds
// every character of every name, for its hash and its key heads.
char16_t foldCaseBeyondAscii(char16_t c);
inline char16_t foldCase(char16_t c) {
    if (c < 0x80) {
        return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    }
    return foldCaseBeyondAscii(c);
}
char16_t upperCase(char16_t c);
bool equalsIgnoreCase(TextView a, TextView b);
// Position of the first occurrence of needle in text, ignoring case; npos when absent.
std::size_t findIgnoreCase(TextView text, TextView needle, std::size_t from = 0);
// Folded text in code-unit order (-1, 0, 1): texts that begin alike without
// regard to case are neighbours in it, so a sorted index finds them by search.
int compareFolded(TextView a, TextView b);
// Where a text lies, in that order, against the texts that begin with `word`:
// -1 before them, 0 one of them, 1 after them.
int comparePrefixFolded(TextView text, TextView word);

// Lowercases A to Z only: the store's names keep every other character as given.
void lowerAsciiLetters(Text& text);

// Windows-1252 byte for a character, or -1 when the code page has none.
int cp1252Byte(char16_t c);

// Settings and history files: written as UTF-8; read as UTF-8 when the bytes
// are valid UTF-8 (a leading byte order mark is skipped), else as Windows-1252,
// so that files from older 8-bit builds still load.
Text decodeFileBytes(std::string_view bytes);
std::string encodeFileText(TextView text);

Text toText(long long number);

} // namespace zorlo
