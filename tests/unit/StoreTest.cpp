#include "store/Store.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace zorlo;

namespace {

// The fixture stands in for the status line.
class StoreTest : public ::testing::Test, public StatusSink {
  protected:
    void stat(const Text& message) override { messages.push_back(message); }

    BinList list;
    std::vector<Text> messages;
};

} // namespace

// Each case puts pairs with the value "1" in place directly (as a rename could
// leave them), then adds a name with the value "2". A new pair goes before the
// first greater one in list order, which in an unsorted list need not be where
// a sorted list would put it. (The order key itself is the macro_order
// transcript's; adds in any order, the walk comparison's in StoreWalkTest.)
TEST_F(StoreTest, AddReplacesByPatternLowercasesAndReportsFailures) {
    struct Case {
        std::vector<Text> before;
        Text name;
        Text lowered; // the caller's variable afterwards
        Text error;   // empty when the add succeeds
        Text after;   // name=value, ...
    };
    const std::vector<Case> cases = {
        {{u"notepad"}, u"NotePad", u"notepad", u"", u"notepad=2"},
        {{u"Ed", u"np"}, u"eD", u"ed", u"", u"Ed=2, np=1"}, // spelling kept
        {{u"abc"}, u"A*", u"a*", u"", u"abc=2"},
        {{u"a*", u"b"}, u"ab", u"ab", u"", u"a*=1, ab=2, b=1"}, // stored a* is text
        {{u"abc", u"ab", u"abd"}, u"abb", u"abb", u"", u"abb=2, abc=1, ab=1, abd=1"},
        {{u"ab", u"abc", u"abd"}, u"abcd", u"abcd", u"", u"ab=1, abc=1, abcd=2, abd=1"},
        {{u"a", u"c", u"b"}, u"bb", u"bb", u"", u"a=1, bb=2, c=1, b=1"},
        {{u"notepad", u"notes"}, u"no*", u"no*", u"", u"notepad=2, notes=1"},
        {{u"notepad"}, u"ÉDIT", u"Édit", u"", u"notepad=1, Édit=2"}, // A to Z only
        {{}, u"", u"", u"", u"=2"},
        {{u""}, u"", u"", u"", u"=2"}, // the replace test finds the empty name
        {{u""}, u"X", u"x", u"Error adding x: ", u"=1"},
        {{u"abc"}, u"", u"", u"Error adding : ", u"abc=1"},
        {{u"b", u""}, u"A", u"a", u"", u"a=2, b=1, =1"}, // the walk stops at b
        {{u"b", u"", u"a"}, u"a0", u"a0", u"", u"a0=2, b=1, =1, a=1"},
        {{u"b", u""}, u"c", u"c", u"Error adding c: ", u"b=1, =1"},
        {{}, u"[A", u"[a", u"", u"[a=2"},
        {{u"abc"}, u"X[Y", u"x[y", u"Error adding x[y: ", u"abc=1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.name));
        list.clear();
        messages.clear();
        for (const auto& n : c.before) {
            list.append(Bin{n, u"1"});
        }
        Text name = c.name;
        EXPECT_EQ(addItem(list, name, u"2", *this), c.error.empty());
        EXPECT_EQ(name, c.lowered);
        Text after;
        for (const auto& bin : list) {
            after += (after.empty() ? u"" : u", ") + Text(bin.NAME) + u"=" + Text(bin.VALUE);
        }
        EXPECT_EQ(after, c.after);
        if (c.error.empty()) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].rfind(c.error, 0), 0u) << toUtf8(messages[0]);
            EXPECT_GT(messages[0].size(), c.error.size()); // a description follows
        }
    }
}
