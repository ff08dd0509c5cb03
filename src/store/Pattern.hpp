#pragma once

#include "text/Text.hpp"

#include <algorithm>
#include <vector>

namespace zorlo {

// Whether a text holds none of the pattern rule's wildcards (? * # [): as a
// pattern it then matches only itself, without regard to case, and as a
// stored name only that text matches it.
inline bool isPlainName(TextView text) {
    return std::none_of(text.begin(), text.end(), [](char16_t c) {
        return c == u'?' || c == u'*' || c == u'#' || c == u'[';
    });
}

// The console's pattern rule. A pattern is compiled once and can then be
// matched against many texts; matching is linear in practice (a star only ever
// backtracks to the most recent star), so patterns like *a*a*a*b cannot blow up.
class Pattern {
  public:
    // Throws Failure for an unclosed '[' or a range whose bounds fall.
    explicit Pattern(TextView pattern);

    bool matches(TextView text) const;
    // True when the pattern holds no wildcard: it then matches exactly one text
    // (ignoring case), which lets lookups use an index.
    bool isPlain() const noexcept { return plain_; }

  private:
    enum class Kind { Literal, AnyOne, Digit, Star, Set };
    struct Range {
        char16_t low;
        char16_t high;
    };
    struct Token {
        Kind kind;
        char16_t literal = 0; // folded, for Literal
        bool negated = false; // for Set
        std::vector<Range> ranges;
    };

    bool tokenMatches(const Token& token, char16_t c) const;

    std::vector<Token> tokens_;
    bool plain_ = true;
};

// True when the whole text matches the whole pattern; throws Failure for an invalid pattern.
bool isLike(TextView text, TextView pattern);

// The prefix test used by listing, completion and history: the first L
// characters of the stored text (all of it when shorter) against the typed word
// of length L as the pattern.
bool isLikePrefix(TextView stored, TextView word);

} // namespace zorlo
