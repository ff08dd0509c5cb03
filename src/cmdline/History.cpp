#include "cmdline/History.hpp"

#include "store/FileIo.hpp"
#include "store/Pattern.hpp"
#include "text/Failure.hpp"

namespace zorlo {

void History::addHistory(const Text& item) {
    if (!isItem(item)) {
        entries_.push_back(item);
    }
}

bool History::isItem(const Text& item) const {
    // An invalid pattern fails only when there is an entry to compare it with.
    if (entries_.empty()) {
        return false;
    }
    const Pattern pattern(item);
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
    for (std::size_t i = cursor_; i <= entries_.size(); ++i) {
        const Text& entry = entries_[i - 1];
        if (pattern.matches(TextView(entry).substr(0, begin.size()))) {
            cursor_ = i < entries_.size() ? i + 1 : i;
            return entry;
        }
    }
    return {};
}

void History::Save() {
    const std::size_t first = entries_.size() > kSavedEntries ? entries_.size() - kSavedEntries : 0;
    Text text;
    for (std::size_t i = first; i < entries_.size(); ++i) {
        text += entries_[i];
        text += CRLF;
    }
    writeFileAtomically(file_, encodeFileText(text));
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
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", pos);
        if (end == Text::npos) {
            entries_.push_back(text.substr(pos));
            break;
        }
        entries_.push_back(text.substr(pos, end - pos));
        if (text[end] == CR && end + 1 < text.size() && text[end + 1] == LF) {
            ++end;
        }
        pos = end + 1;
    }
}

} // namespace zorlo
