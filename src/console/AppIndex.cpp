#include "console/AppIndex.hpp"

#include "store/Pattern.hpp"

#include <algorithm>

namespace zorlo {

namespace {

Text folded(TextView text) {
    Text out(text);
    for (char16_t& c : out) {
        c = foldCase(c);
    }
    return out;
}

} // namespace

void AppIndex::assign(std::vector<Application> apps) {
    apps.erase(std::remove_if(apps.begin(), apps.end(),
                              [](const Application& app) { return app.name.empty(); }),
               apps.end());
    // Names alike but for case keep the desktop's order between them.
    std::stable_sort(apps.begin(), apps.end(), [](const Application& a, const Application& b) {
        return compareFolded(a.name, b.name) < 0;
    });
    apps_ = std::move(apps);
    keys_.clear();
    for (std::size_t i = 0; i < apps_.size(); ++i) {
        const auto position = static_cast<std::uint32_t>(i + 1);
        keys_.push_back(Key{folded(apps_[i].name), position});
        for (const Text& other : apps_[i].names) {
            if (!other.empty()) {
                keys_.push_back(Key{folded(other), position});
            }
        }
    }
    std::sort(keys_.begin(), keys_.end(), [](const Key& a, const Key& b) {
        const int order = compareFolded(a.folded, b.folded);
        return order != 0 ? order < 0 : a.position < b.position;
    });
    keys_.shrink_to_fit();
}

std::pair<std::size_t, std::size_t> AppIndex::keysBeginningWith(TextView word) const {
    const auto first = std::partition_point(keys_.begin(), keys_.end(), [&](const Key& key) {
        return comparePrefixFolded(key.folded, word) < 0;
    });
    const auto last = std::partition_point(first, keys_.end(), [&](const Key& key) {
        return comparePrefixFolded(key.folded, word) == 0;
    });
    return {static_cast<std::size_t>(first - keys_.begin()),
            static_cast<std::size_t>(last - keys_.begin())};
}

std::size_t AppIndex::findNamed(TextView pattern) const {
    if (apps_.empty()) {
        return 0;
    }
    const Pattern compiled(pattern);
    if (compiled.isPlain()) {
        // Of the keys that begin with the word, those equal to it sort first,
        // the earliest application first among them.
        const auto [first, last] = keysBeginningWith(pattern);
        const bool equal = first < last && keys_[first].folded.size() == pattern.size();
        return equal ? keys_[first].position : 0;
    }
    for (std::size_t i = 0; i < apps_.size(); ++i) {
        const Application& app = apps_[i];
        if (compiled.matches(app.name) ||
            std::any_of(app.names.begin(), app.names.end(),
                        [&](const Text& other) { return compiled.matches(other); })) {
            return i + 1;
        }
    }
    return 0;
}

std::size_t AppIndex::findBeginning(TextView word, std::size_t after) const {
    if (apps_.empty()) {
        return 0;
    }
    const Pattern compiled(word);
    if (compiled.isPlain()) {
        const auto [first, last] = keysBeginningWith(word);
        std::size_t found = 0;
        for (std::size_t k = first; k < last; ++k) {
            const std::size_t position = keys_[k].position;
            if (position > after && (found == 0 || position < found)) {
                found = position;
            }
        }
        return found;
    }
    const auto begins = [&](TextView name) {
        return compiled.matches(name.substr(0, word.size()));
    };
    for (std::size_t i = after; i < apps_.size(); ++i) {
        const Application& app = apps_[i];
        if (begins(app.name) || std::any_of(app.names.begin(), app.names.end(), begins)) {
            return i + 1;
        }
    }
    return 0;
}

std::size_t AppIndex::bytes() const noexcept {
    const auto textBytes = [](const Text& text) {
        // Short texts live inside the string object itself.
        return text.capacity() > Text().capacity() ? (text.capacity() + 1) * sizeof(char16_t) : 0;
    };
    std::size_t total = apps_.capacity() * sizeof(Application) + keys_.capacity() * sizeof(Key);
    for (const Application& app : apps_) {
        total += textBytes(app.name) + textBytes(app.target) + textBytes(app.key);
        total += app.names.capacity() * sizeof(Text);
        for (const Text& other : app.names) {
            total += textBytes(other);
        }
    }
    for (const Key& key : keys_) {
        total += textBytes(key.folded);
    }
    return total;
}

} // namespace zorlo
