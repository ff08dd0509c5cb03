#pragma once

// The store and the history as the rules word them: every lookup walks the
// list from its first pair and compares name by name, and every addition walks
// it twice. The engine answers the same questions from indexes; the tests, the
// settings fuzzer and the benchmarks hold it to these walks.

#include "store/Bin.hpp"
#include "store/OrderKey.hpp"
#include "store/Pattern.hpp"
#include "store/SettingsFile.hpp"
#include "store/StatusSink.hpp"
#include "text/Failure.hpp"

#include <algorithm>
#include <vector>

namespace zorlo::reference {

using List = std::vector<Bin>;

// Positions from 1, 0 for none, looking after position `after` only.
inline std::size_t findItem(const List& list, TextView pattern, std::size_t after = 0) {
    if (after >= list.size()) {
        return 0;
    }
    const Pattern compiled(pattern);
    for (std::size_t i = after; i < list.size(); ++i) {
        if (compiled.matches(list[i].NAME)) {
            return i + 1;
        }
    }
    return 0;
}

inline Text getItem(const List& list, TextView pattern, MessageSink& dialogs) {
    try {
        const std::size_t found = findItem(list, pattern);
        return found == 0 ? Text() : list[found - 1].VALUE;
    } catch (const Failure&) {
        dialogs.messageBox(u"Cannot get item: " + Text(pattern), u"Zorlo Console");
        return {};
    }
}

// The name is the pattern against the stored names; a new pair goes before the
// first greater one.
inline bool addItem(List& list, Text& name, const Text& value, StatusSink& status) {
    lowerAsciiLetters(name);
    try {
        if (const std::size_t found = findItem(list, name)) {
            list[found - 1].VALUE = value;
            return true;
        }
        const auto greater = std::find_if(list.begin(), list.end(), [&name](const Bin& bin) {
            return orderKeyGreater(bin.NAME, name);
        });
        list.insert(greater, Bin{name, value});
        return true;
    } catch (const Failure& failure) {
        status.stat(u"Error adding " + name + u": " + failure.description());
        return false;
    }
}

inline std::size_t findNameMatching(const List& list, TextView text, std::size_t after = 0) {
    for (std::size_t i = after; i < list.size(); ++i) {
        if (isLike(text, list[i].NAME)) {
            return i + 1;
        }
    }
    return 0;
}

inline bool expandArgument(const List& list, Text& text) {
    bool replaced = false;
    for (const Bin& bin : list) {
        if (isLike(text, bin.NAME)) {
            text = bin.VALUE;
            replaced = true;
        }
    }
    return replaced;
}

inline std::size_t findPrefixMatch(const List& list, TextView word, std::size_t after = 0) {
    if (after >= list.size()) {
        return 0;
    }
    const Pattern compiled(word);
    for (std::size_t i = after; i < list.size(); ++i) {
        if (compiled.matches(TextView(list[i].NAME).substr(0, word.size()))) {
            return i + 1;
        }
    }
    return 0;
}

// A load: every pair of the text through addItem, refused pairs reported.
inline bool readSettingsInto(TextView content, List& list, StatusSink& status) {
    SettingsReader reader{Text(content)};
    bool whole = true;
    while (!reader.atEnd()) {
        Text name(reader.readField());
        const Text value(reader.readField());
        if (const auto refusal = storeRefusal(name, value, list.empty())) {
            status.stat(*refusal);
            whole = false;
            continue;
        }
        const std::size_t before = list.size();
        if (!addItem(list, name, value, status) || list.size() == before) {
            whole = false;
        }
    }
    return whole;
}

// The history list's searches, entry by entry from the cursor.
class History {
  public:
    void addHistory(const Text& item) {
        if (!item.empty() && !isItem(item)) {
            entries.push_back(item);
        }
    }
    bool isItem(const Text& item) const {
        return std::any_of(entries.begin(), entries.end(),
                           [&item](const Text& entry) { return isLike(entry, item); });
    }
    Text getHistory(const Text& begin) {
        for (std::size_t i = cursor; i <= entries.size(); ++i) {
            if (isLike(TextView(entries[i - 1]).substr(0, begin.size()), begin)) {
                cursor = i < entries.size() ? i + 1 : i;
                return entries[i - 1];
            }
        }
        return {};
    }
    void Reset() { cursor = 1; }

    std::vector<Text> entries;
    std::size_t cursor = 1;
};

} // namespace zorlo::reference
