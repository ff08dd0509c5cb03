#include "store/Store.hpp"

#include "store/Pattern.hpp"
#include "text/Failure.hpp"

namespace zorlo {

std::size_t findItem(const BinList& list, TextView pattern, std::size_t after) {
    if (after >= list.count()) {
        return 0; // the walk compares no name, so even an invalid pattern cannot fail
    }
    if (isPlainName(pattern)) {
        return list.findSameName(pattern, after); // no wildcard: the same text, case aside
    }
    const Pattern compiled(pattern);
    std::size_t position = after + 1;
    for (auto it = list.iteratorAt(position); it != list.end(); ++it, ++position) {
        if (compiled.matches(it->NAME)) {
            return position;
        }
    }
    return 0;
}

std::size_t findNameMatching(const BinList& list, TextView text, std::size_t after) {
    // A name without wildcards matches only its own text; the others are few
    // and are tried in list order up to that pair, failing as the walk would.
    const std::size_t same = list.findSameName(text, after);
    for (std::size_t wild = list.nextWildName(after); wild != 0 && (same == 0 || wild < same);
         wild = list.nextWildName(wild)) {
        if (isLike(text, list.at(wild).NAME)) {
            return wild;
        }
    }
    return same;
}

bool expandArgument(const BinList& list, Text& text) {
    bool replaced = false;
    for (std::size_t at = findNameMatching(list, text); at != 0;
         at = findNameMatching(list, text, at)) {
        text = list.at(at).VALUE;
        replaced = true;
    }
    return replaced;
}

std::size_t findPrefixMatch(const BinList& list, TextView word, std::size_t after) {
    if (after >= list.count()) {
        return 0;
    }
    const Pattern compiled(word);
    if (compiled.isPlain()) {
        return list.findPrefix(word, after);
    }
    std::size_t position = after + 1;
    for (auto it = list.iteratorAt(position); it != list.end(); ++it, ++position) {
        if (compiled.matches(TextView(it->NAME).substr(0, word.size()))) {
            return position;
        }
    }
    return 0;
}

Text getItem(const BinList& list, TextView pattern, MessageSink& dialogs) {
    try {
        const std::size_t position = findItem(list, pattern);
        return position == 0 ? Text() : Text(list.at(position).VALUE);
    } catch (const Failure&) {
        dialogs.messageBox(u"Cannot get item: " + Text(pattern), Text(kAppTitle));
        return {};
    }
}

bool addItem(BinList& list, Text& name, TextView value, StatusSink& status) {
    lowerAsciiLetters(name);
    try {
        if (const std::size_t same = findItem(list, name)) {
            list.setValue(same, value);
            return true;
        }
        // The insertion walk compares with every pair up to the first greater
        // one; an empty name on either side fails that comparison, so the
        // place found is compared once more to fail exactly where the walk does.
        const auto place = name.empty() ? list.begin() : list.findOrderPlace(name);
        if (place != list.end()) {
            orderKeyGreater(place->NAME, name);
        }
        list.insertBefore(place, BinView{name, value});
        return true;
    } catch (const Failure& failure) {
        status.stat(u"Error adding " + name + u": " + failure.description());
        return false;
    }
}

} // namespace zorlo
