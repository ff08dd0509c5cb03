#include "interpreter/ArgList.hpp"
#include "launch/ArgumentText.hpp"
#include "text/Failure.hpp"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace zorlo;

namespace {

using Words = std::vector<Text>;

// Splits into one list that is reused, as the console does, so that words left
// over from a longer line would show.
Words split(TextView line) {
    static ArgList args;
    parseArgs(line, args);
    for (int i = args.argCount + 1; i <= ArgList::kCapacity; ++i) {
        EXPECT_TRUE(args[i].empty()) << "position " << i;
    }
    return Words(args.args.begin() + 1, args.args.begin() + 1 + args.argCount);
}

// w1 w2 ... wN joined by separator.
Text line(int count, TextView separator = u" ") {
    Text out = u"w1";
    for (int i = 2; i <= count; ++i) {
        out += Text(separator) + u"w" + toText(i);
    }
    return out;
}

} // namespace

TEST(ParseArgs, SplitsLinesIntoWords) {
    const std::vector<std::pair<Text, Words>> cases = {
        {u"notepad readme.txt", {u"notepad", u"readme.txt"}},
        {u"a   b", {u"a", u"b"}},
        {u"a\tb", {u"a", u"b"}},
        {u"a \t b", {u"a", u"b"}},
        {u"notepad ", {u"notepad", u""}},
        {u"", {u""}},
        {u"  \tcmd arg", {u"cmd", u"arg"}},
        {u" \t ", {u""}},
        {u"run \"my file.txt\" x", {u"run", u"my file.txt", u"x"}},
        {u"ab\"x y\"z", {u"abx yz"}},
        {u"\"a\tb\"  \"c\"", {u"a\tb", u"c"}},
        {u"x \" \" y", {u"x", u" ", u"y"}},
        {u"x \"\"", {u"x", u"\""}},
        {u"say \"\"hi\"\"", {u"say", u"\"hi\""}},
        {u"say \"\"\"hi there\"\"\"", {u"say", u"\"hi there\""}},
        {u"\"\"\"\"", {u"\"\""}},
        {u"x \"open", {u"x", u"open"}},
        {u"x \"open  this\tfile", {u"x", u"open  this\tfile"}},
        {u"a^@^b", {u"a\"b"}},
        {u"\"^@^\"", {u"\""}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(split(text), expected) << toUtf8(text);
    }
}

// A word written back by completion, and an argument in a launch's argument
// text: each enclosed in quotes only when it holds a blank or a tab, by the rule
// its reader follows (the line splitting, a Windows program's argument splitter).
TEST(ParseArgs, WordsWithBlanksAreQuotedForTheirReaders) {
    const std::vector<std::tuple<Text, Text, Text>> cases = {
        // word, as completion writes it, as the launch passes it
        {u"plain", u"plain", u"plain"},
        {u"say\"hi\"", u"say\"\"hi\"\"", u"say\"hi\""},
        {u"C:\\dir\\", u"C:\\dir\\", u"C:\\dir\\"},
        {u"my file.txt", u"\"my file.txt\"", u"\"my file.txt\""},
        {u"a\tb", u"\"a\tb\"", u"\"a\tb\""},
        {u"D:\\my folder\\", u"\"D:\\my folder\\\"", u"\"D:\\my folder\\\\\""},
        {u"say \"hi\"", u"\"say \"\"hi\"\"\"", u"\"say \\\"hi\\\"\""},
        {u"a\\\" b", u"\"a\\\"\" b\"", u"\"a\\\\\\\" b\""},
        {u"-x -y", u"\"-x -y\"", u"\"-x -y\""},
    };
    for (const auto& [word, forLine, forLaunch] : cases) {
        EXPECT_EQ(quoteWord(word), forLine) << toUtf8(word);
        EXPECT_EQ(launchArgument(word), forLaunch) << toUtf8(word);
        EXPECT_EQ(split(u"x " + quoteWord(word) + u" y"), (Words{u"x", word, u"y"}))
            << toUtf8(word);
    }
}

TEST(ParseArgs, FiftyWordsSplitAndAFiftyFirstFails) {
    const std::vector<std::pair<Text, Text>> fit = {{line(50), u"w50"},
                                                    {line(50, u"  \t"), u"w50"},
                                                    {line(49) + u" \"last word \"", u"last word "}};
    for (const auto& [text, last] : fit) {
        const Words words = split(text);
        EXPECT_EQ(words.size(), 50u);
        EXPECT_EQ(words.back(), last);
    }
    // The failure's wording is in the error_path transcript.
    for (const Text& text : {line(51), line(50) + u" ", line(50) + u"\t", line(50) + u"   ",
                             line(50) + u" \"\"", line(60)}) {
        ArgList args;
        EXPECT_THROW(parseArgs(text, args), Failure) << toUtf8(text);
    }
}
