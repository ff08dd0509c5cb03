#include "interpreter/ArgList.hpp"

#include "text/Failure.hpp"

namespace zorlo {

namespace {

constexpr TextView kQuoteMarker = u"^@^";

bool isSeparator(char16_t c) {
    return c == u' ' || c == u'\t';
}

Text replaceAll(TextView text, TextView from, TextView to) {
    Text out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        out.append(text.substr(pos, hit == TextView::npos ? TextView::npos : hit - pos));
        if (hit == TextView::npos) {
            return out;
        }
        out.append(to);
        pos = hit + from.size();
    }
}

} // namespace

void parseArgs(TextView line, ArgList& out) {
    out.argCount = 1;
    for (int i = 1; i <= ArgList::kCapacity; ++i) {
        out[i].clear();
    }
    const Text copy = replaceAll(line, u"\"\"", kQuoteMarker);
    bool inQuotes = false;
    std::size_t i = 0;
    while (i < copy.size() && isSeparator(copy[i])) {
        ++i; // a leading separator would otherwise open an empty command word
    }
    const std::size_t start = i;
    for (; i < copy.size(); ++i) {
        const char16_t c = copy[i];
        if (c == u'"') {
            inQuotes = !inQuotes;
        } else if (inQuotes || !isSeparator(c)) {
            out[out.argCount].push_back(c);
        } else if (i > start && !isSeparator(copy[i - 1])) {
            if (out.argCount == ArgList::kCapacity) {
                throw Failure(u"Too many words: a line holds at most 50");
            }
            ++out.argCount;
        }
    }
    for (int k = 1; k <= out.argCount; ++k) {
        out[k] = replaceAll(out[k], kQuoteMarker, u"\"");
    }
}

Text quoteWord(TextView word) {
    Text doubled = replaceAll(word, u"\"", u"\"\"");
    if (word.find_first_of(u" \t") == TextView::npos) {
        return doubled;
    }
    return u"\"" + doubled + u"\"";
}

} // namespace zorlo
