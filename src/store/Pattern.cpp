#include "store/Pattern.hpp"

#include "text/Failure.hpp"

#include <cstdint>

namespace zorlo {

Pattern::Pattern(TextView pattern) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c == u'?') {
            tokens_.push_back(Token{Kind::AnyOne, 0, false, {}});
            plain_ = false;
        } else if (c == u'#') {
            tokens_.push_back(Token{Kind::Digit, 0, false, {}});
            plain_ = false;
        } else if (c == u'*') {
            if (tokens_.empty() || tokens_.back().kind != Kind::Star) {
                tokens_.push_back(
                    Token{Kind::Star, 0, false, {}}); // consecutive stars mean the same as one
            }
            plain_ = false;
        } else if (c == u'[') {
            const std::size_t close = pattern.find(u']', i + 1);
            if (close == TextView::npos) {
                throw Failure(u"Invalid pattern: unclosed [ in \"" + Text(pattern) + u"\"");
            }
            Token set{Kind::Set, 0, false, {}};
            TextView list = pattern.substr(i + 1, close - i - 1);
            if (!list.empty() && list.front() == u'!') {
                set.negated = true;
                list.remove_prefix(1);
            }
            for (std::size_t k = 0; k < list.size(); ++k) {
                // A '-' first in the list stands for itself, as does one that ends it.
                const bool leadingDash = k == 0 && list[k] == u'-';
                const bool rangeHere = !leadingDash && k + 2 < list.size() && list[k + 1] == u'-';
                if (rangeHere) {
                    if (list[k] > list[k + 2]) {
                        throw Failure(u"Invalid pattern: falling range " + Text(list.substr(k, 3)) +
                                      u" in \"" + Text(pattern) + u"\"");
                    }
                    set.ranges.push_back({list[k], list[k + 2]});
                    k += 2;
                } else {
                    set.ranges.push_back({list[k], list[k]});
                }
            }
            tokens_.push_back(std::move(set));
            plain_ = false;
            i = close;
        } else {
            Token literal{Kind::Literal, foldCase(c), false, {}};
            tokens_.push_back(std::move(literal));
        }
    }
}

bool Pattern::tokenMatches(const Token& token, char16_t c) const {
    switch (token.kind) {
    case Kind::Literal:
        return foldCase(c) == token.literal;
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c >= u'0' && c <= u'9';
    case Kind::Set: {
        // Letters compare without regard to case, in lists and ranges too.
        const char16_t lower = foldCase(c);
        const char16_t upper = upperCase(c);
        bool inList = false;
        for (const auto& r : token.ranges) {
            if ((c >= r.low && c <= r.high) || (lower >= r.low && lower <= r.high) ||
                (upper >= r.low && upper <= r.high)) {
                inList = true;
                break;
            }
        }
        // An empty list matches no character; an empty negated list matches any one.
        return token.negated ? !inList : inList;
    }
    case Kind::Star:
        break;
    }
    return false;
}

bool Pattern::matches(TextView text) const {
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starToken = SIZE_MAX;
    std::size_t starText = 0;
    while (t < text.size()) {
        if (p < tokens_.size() && tokens_[p].kind == Kind::Star) {
            starToken = p++;
            starText = t;
        } else if (p < tokens_.size() && tokenMatches(tokens_[p], text[t])) {
            ++p;
            ++t;
        } else if (starToken != SIZE_MAX) {
            p = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < tokens_.size() && tokens_[p].kind == Kind::Star) {
        ++p;
    }
    return p == tokens_.size();
}

bool isLike(TextView text, TextView pattern) {
    return Pattern(pattern).matches(text);
}

bool isLikePrefix(TextView stored, TextView word) {
    return isLike(stored.substr(0, word.size()), word);
}

} // namespace zorlo
