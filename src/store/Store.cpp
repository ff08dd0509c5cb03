#include "store/Store.hpp"

#include "store/Pattern.hpp"
#include "text/Failure.hpp"

#include <algorithm>

namespace zorlo {

namespace {
constexpr std::size_t kOrderKeyLength = 998;
}

int orderKey(char16_t c) {
    const int code = cp1252Byte(c);
    if (code < 0) {
        return 224 + c; // after every 8-bit key (those end at 223)
    }
    return code > 90 ? code - 32 : code;
}

bool orderKeyGreater(TextView stored, TextView name) {
    if (stored.empty() || name.empty()) {
        throw Failure(u"Invalid argument: a name to be ordered is empty");
    }
    const std::size_t limit = std::min({stored.size(), name.size(), kOrderKeyLength});
    for (std::size_t j = 0; j < limit; ++j) {
        const int s = orderKey(stored[j]);
        const int n = orderKey(name[j]);
        if (s != n) {
            return s > n;
        }
    }
    return false;
}

Text getItem(const BinList& list, TextView pattern, Dialogs& dialogs) {
    if (list.empty()) {
        return {}; // the walk compares no name, so even an invalid pattern cannot fail
    }
    try {
        const Pattern compiled(pattern);
        for (const auto& bin : list) {
            if (compiled.matches(bin.NAME)) {
                return bin.VALUE;
            }
        }
        return {};
    } catch (const Failure&) {
        dialogs.messageBox(u"Cannot get item: " + Text(pattern), Text(kAppTitle));
        return {};
    }
}

bool addItem(BinList& list, Text& name, const Text& value, StatusSink& status) {
    name = lowerAsciiLetters(name);
    try {
        if (!list.empty()) {
            const Pattern compiled(name);
            for (auto& bin : list) {
                if (compiled.matches(bin.NAME)) {
                    bin.VALUE = value;
                    return true;
                }
            }
        }
        std::size_t insertAt = 0;
        for (std::size_t pos = 1; pos <= list.count(); ++pos) {
            if (orderKeyGreater(list.at(pos).NAME, name)) {
                insertAt = pos;
                break;
            }
        }
        if (insertAt != 0) {
            list.insertBefore(insertAt, Bin{name, value});
        } else {
            list.append(Bin{name, value});
        }
        return true;
    } catch (const Failure& failure) {
        status.stat(u"Error adding " + name + u": " + failure.description());
        return false;
    }
}

} // namespace zorlo
