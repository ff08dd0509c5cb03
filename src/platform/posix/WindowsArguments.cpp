#include "platform/posix/WindowsArguments.hpp"

namespace zorlo {

namespace {
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
} // namespace

std::vector<Text> splitWindowsArguments(TextView text) {
    std::vector<Text> words;
    Text word;
    bool inWord = false;
    int quotes = 0;      // odd while inside a quoted part
    int backslashes = 0; // run of backslashes right before the current character
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (isBlank(c) && quotes == 0) {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
            backslashes = 0;
            ++i;
            continue;
        }
        inWord = true;
        if (c == u'\\') {
            word += c;
            ++backslashes;
            ++i;
            continue;
        }
        if (c != u'"') {
            word += c;
            backslashes = 0;
            ++i;
            continue;
        }
        // Half the backslashes stay; an odd one out makes this quote literal.
        word.resize(word.size() - static_cast<std::size_t>(backslashes));
        word.append(static_cast<std::size_t>(backslashes / 2), u'\\');
        if (backslashes % 2 == 1) {
            word += u'"';
        } else {
            ++quotes;
        }
        backslashes = 0;
        ++i;
        while (i < text.size() && text[i] == u'"') {
            if (++quotes == 3) {
                word += u'"';
                quotes = 0;
            }
            ++i;
        }
        if (quotes == 2) {
            quotes = 0;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

} // namespace zorlo
