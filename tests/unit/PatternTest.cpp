#include "store/Pattern.hpp"
#include "text/Failure.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace zorlo;

// One pattern with texts that it must match and texts that it must not.
TEST(Pattern, MatchesTheTextsOfTheTable) {
    const struct {
        Text pattern;
        std::vector<Text> like;
        std::vector<Text> unlike;
    } rows[] = {
        // Wildcards outside brackets
        {u"abc", {u"abc"}, {u"abcd", u"xabc", u"ab", u""}},
        {u"", {u""}, {u"a"}},
        {u"!x]", {u"!x]"}, {u"x]", u"!x"}}, // ! and ] outside brackets are literal
        {u"]", {u"]"}, {u"a", u"[]"}},
        {u"!", {u"!"}, {u"a", u""}},
        {u"a?c", {u"abc", u"a c", u"a?c"}, {u"ac", u"abbc"}},
        {u"?", {u"x"}, {u""}},
        {u"a*", {u"a", u"abc"}, {u"xa", u""}},
        {u"*", {u"", u"anything"}, {}},
        {u"a*c", {u"ac", u"abxc"}, {u"abcd"}},
        {u"a**b", {u"ab", u"a-b"}, {u"a"}},
        {u"*b*", {u"b", u"aXbYc"}, {u"ac"}},
        {u"c#", {u"c0", u"c7"}, {u"cx", u"c#", u"c12"}},
        {u"c##", {u"c12"}, {u"c1"}},
        // Lists, ranges and negation
        {u"[abc]", {u"a", u"c"}, {u"d", u"ab", u""}},
        {u"[!abc]", {u"d", u"-"}, {u"a", u"", u"de"}},
        {u"[a!]", {u"!", u"a"}, {u"b"}},
        {u"[a-k]", {u"a", u"f", u"k"}, {u"l", u"-", u"0"}},
        {u"x[0-35-7]", {u"x0", u"x2", u"x6"}, {u"x4", u"x8", u"x-"}},
        {u"[!a-k]", {u"m"}, {u"c"}},
        {u"[b-b]", {u"b"}, {u"a", u"c"}},
        // Characters that stand for themselves in brackets
        {u"[-a]", {u"-", u"a"}, {u"b"}},
        {u"[a-]", {u"-", u"a"}, {u"b"}},
        {u"[!-a]", {u"b"}, {u"-", u"a"}},
        {u"[!a-]", {u"b"}, {u"-", u"a"}},
        {u"[?]", {u"?"}, {u"x"}},
        {u"[#]", {u"#"}, {u"5"}},
        {u"[*]", {u"*"}, {u"ab", u""}},
        {u"a[[]b", {u"a[b"}, {u"ab", u"a[[]b"}},
        {u"[]", {}, {u"a", u"", u"[]", u"]"}},
        {u"a[]b", {}, {u"ab", u"a b"}},
        {u"a*[]", {}, {u"a", u"abc"}},
        // Letters ignore case, Latin-1 ones as well
        {u"abc", {u"ABC", u"aBc"}, {}},
        {u"A?C", {u"abc"}, {}},
        {u"é", {u"É", u"é"}, {u"e", u"E"}},
        {u"ÉCOLE", {u"école"}, {}},
        {u"[ü]", {u"Ü"}, {u"u"}},
        {u"[a-k]", {u"E"}, {u"L"}},
        {u"[A-K]", {u"e"}, {u"l"}},
        {u"[À-Ý]", {u"é", u"É"}, {u"e"}},
        {u"[!é]", {u"e"}, {u"É"}},
        {u"œ", {u"Œ"}, {}},
        {u"SS", {}, {u"ß"}},
    };
    for (const auto& row : rows) {
        for (const auto& text : row.like) {
            EXPECT_TRUE(isLike(text, row.pattern)) << toUtf8(text) << " ~ " << toUtf8(row.pattern);
        }
        for (const auto& text : row.unlike) {
            EXPECT_FALSE(isLike(text, row.pattern)) << toUtf8(text) << " ~ " << toUtf8(row.pattern);
        }
    }
}

// The failures' wording is in the error_path and unstorable_names transcripts.
TEST(Pattern, InvalidPatternsThrowFailure) {
    for (const Text& bad : {Text(u"[a"), Text(u"a[bc"), Text(u"[!"), Text(u"*["), Text(u"[z-a]"),
                            Text(u"x[9-0]"), Text(u"[a-cz-b]")}) {
        EXPECT_THROW(isLike(u"anything", bad), Failure) << toUtf8(bad);
        EXPECT_THROW(isLike(u"", bad), Failure) << toUtf8(bad); // invalid whatever the text
    }
}

TEST(Pattern, ManyStarsDoNotBacktrackExponentially) {
    const Text text(20000, u'a');
    EXPECT_FALSE(isLike(text, u"*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(isLike(text + u"b", u"*a*a*a*a*a*a*a*b"));
    EXPECT_FALSE(isLike(text, u"*?*?*?*?*?*?*?*#"));
}

TEST(Pattern, PrefixTestCutsStoredTextToWordLength) {
    EXPECT_TRUE(isLikePrefix(u"notepad", u"no"));
    EXPECT_TRUE(isLikePrefix(u"NOTEPAD", u"n?t"));
    EXPECT_TRUE(isLikePrefix(u"anything", u""));
    EXPECT_FALSE(isLikePrefix(u"nslookup", u"no"));
    EXPECT_FALSE(isLikePrefix(u"note", u"notepad"));
    EXPECT_THROW(isLikePrefix(u"abc", u"[a"), Failure);
}
