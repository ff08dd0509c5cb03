#include "text/Text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zorlo;

TEST(Text, FileBytesThatAreNotUtf8ReadAsWindows1252) {
    const std::vector<std::pair<std::string, Text>> cases = {
        {"caf\xE9", u"café"},
        {"\x80", u"€"},
        {"\x93hi\x94", u"\u201Chi\u201D"},
        {"M\xFCnchen \x8A\x9C", u"München Šœ"},
        {"\xC3\xA9 \xE9", u"Ã© é"}, // one stray byte makes the whole file 8-bit
        {"ab\xC3", u"abÃ"},         // a cut UTF-8 sequence is not UTF-8
        {"\x81\x8D", u"\u0081\u008D"},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(decodeFileBytes(bytes), expected) << bytes;
    }
}

TEST(Text, FileTextIsUtf8AndReadsBack) {
    EXPECT_EQ(decodeFileBytes("caf\xC3\xA9 \xE2\x82\xAC"), u"café €");
    EXPECT_EQ(decodeFileBytes("\xEF\xBB\xBFzorlo"), u"zorlo"); // byte order mark skipped
    EXPECT_EQ(decodeFileBytes(""), u"");
    EXPECT_EQ(encodeFileText(u"é€\r\n"), "\xC3\xA9\xE2\x82\xAC\r\n");
    const Text mixed = u"naïve ü € \U0001F600 中";
    EXPECT_EQ(decodeFileBytes(encodeFileText(mixed)), mixed);
    // Outside files (paths, arguments) a bad byte becomes one replacement character.
    EXPECT_EQ(fromUtf8("a\xFF\xF0\x9F\x98\x80\xC3"), u"a\uFFFD\U0001F600\uFFFD");
}

TEST(Text, CaseFoldingCoversAsciiAndLatin1Letters) {
    EXPECT_TRUE(equalsIgnoreCase(u"ÉCOLE Zürich", u"école zÜRICH"));
    EXPECT_TRUE(equalsIgnoreCase(u"ŒUVRE ŠŽŸ", u"œuvre šžÿ"));
    EXPECT_FALSE(equalsIgnoreCase(u"Straße", u"STRASSE"));
    EXPECT_FALSE(equalsIgnoreCase(u"e", u"é"));
    EXPECT_FALSE(equalsIgnoreCase(u"@[", u"`{")); // neighbours of the letters are no letters
    EXPECT_FALSE(equalsIgnoreCase(u"×", u"÷"));
    EXPECT_EQ(findIgnoreCase(u"Hello WÖRLD", u"wörld"), 6u);
}
