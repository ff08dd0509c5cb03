#include "cmdline/History.hpp"

#include "store/FileIo.hpp"
#include "store/Pattern.hpp"
#include "text/Failure.hpp"

#include <algorithm>

namespace zorlo {

History::Range History::entriesBeginningWith(TextView word) const {
    if (!sortedValid_) {
        sorted_.resize(entries_.size());
        for (std::size_t i = 0; i < sorted_.size(); ++i) {
            sorted_[i] = static_cast<std::uint32_t>(i);
        }
        std::sort(sorted_.begin(), sorted_.end(), [this](std::uint32_t a, std::uint32_t b) {
            return compareFolded(entries_[a], entries_[b]) < 0;
        });
        sortedValid_ = true;
    }
    const auto first = std::partition_point(sorted_.begin(), sorted_.end(), [&](std::uint32_t i) {
        return comparePrefixFolded(entries_[i], word) < 0;
    });
    const auto last = std::partition_point(first, sorted_.end(), [&](std::uint32_t i) {
        return comparePrefixFolded(entries_[i], word) == 0;
    });
    return {static_cast<std::size_t>(first - sorted_.begin()),
            static_cast<std::size_t>(last - sorted_.begin())};
}

void History::addHistory(const Text& item) {
    // An empty entry would be offered by completion and replace the typed word with nothing.
    if (item.empty() || isItem(item)) {
        return;
    }
    entries_.push_back(item);
    if (sortedValid_) {
        const auto at = std::partition_point(sorted_.begin(), sorted_.end(), [&](std::uint32_t i) {
            return compareFolded(entries_[i], item) <= 0;
        });
        sorted_.insert(at, static_cast<std::uint32_t>(entries_.size() - 1));
    }
}

bool History::isItem(const Text& item) const {
    // An invalid pattern fails only when there is an entry to compare it with.
    if (entries_.empty()) {
        return false;
    }
    const Pattern pattern(item);
    if (pattern.isPlain()) {
        // Of the entries that begin with the item, one equal to it sorts first.
        const Range range = entriesBeginningWith(item);
        return range.first < range.last && entries_[sorted_[range.first]].size() == item.size();
    }
    for (const auto& entry : entries_) {
        if (pattern.matches(entry)) {
            return true;
        }
    }
    return false;
}

Text History::getHistory(const Text& begin) {
    if (cursor_ > entries_.size()) {
        return {};
    }
    const Pattern pattern(begin);
    std::size_t found = 0; // a position from 1; 0 for none
    if (begin.empty()) {
        found = cursor_;
    } else if (pattern.isPlain()) {
        const Range range = entriesBeginningWith(begin);
        for (std::size_t k = range.first; k < range.last; ++k) {
            const std::size_t position = sorted_[k] + 1;
            if (position >= cursor_ && (found == 0 || position < found)) {
                found = position;
            }
        }
    } else {
        for (std::size_t i = cursor_; i <= entries_.size() && found == 0; ++i) {
            if (pattern.matches(TextView(entries_[i - 1]).substr(0, begin.size()))) {
                found = i;
            }
        }
    }
    if (found == 0) {
        return {};
    }
    cursor_ = found < entries_.size() ? found + 1 : found;
    return entries_[found - 1];
}

std::string History::fileBytes() const {
    const std::size_t first = entries_.size() > kSavedEntries ? entries_.size() - kSavedEntries : 0;
    Text text;
    for (std::size_t i = first; i < entries_.size(); ++i) {
        text += entries_[i];
        text += CRLF;
    }
    return encodeFileText(text);
}

void History::Load() {
    std::optional<std::string> bytes;
    try {
        bytes = readFileBytes(file_);
    } catch (const Failure&) {
        return;
    }
    if (!bytes) {
        return;
    }
    const Text text = decodeFileBytes(*bytes);
    sortedValid_ = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", pos);
        if (end == Text::npos) {
            entries_.push_back(text.substr(pos));
            break;
        }
        if (end > pos) {
            entries_.push_back(text.substr(pos, end - pos));
        }
        if (text[end] == CR && end + 1 < text.size() && text[end + 1] == LF) {
            ++end;
        }
        pos = end + 1;
    }
}

} // namespace zorlo
