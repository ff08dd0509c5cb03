// What a user types, pastes or drops that the console cannot take: each case
// ends in a clear report, and nothing stored before is lost.
#include "ConsoleSession.hpp"

namespace zorlo::testing {
namespace {

constexpr TextView kCannotHold = u": names and values cannot hold double quotes or line breaks";

const std::string kList = "\"ed\"\r\n\"C:\\Tools\\editor.exe\"\r\n\"np\"\r\n\"notepad.exe\"\r\n";
std::string paramsWith(const std::string& key, const std::string& modifier) {
    return "\"active\"\r\n\"1\"\r\n\"autohide\"\r\n\"0\"\r\n\"height\"\r\n\"2400\"\r\n"
           "\"key\"\r\n\"" +
           key + "\"\r\n\"left\"\r\n\"1200\"\r\n\"modifier\"\r\n\"" + modifier +
           "\"\r\n\"top\"\r\n\"1200\"\r\n\"width\"\r\n\"4125\"\r\n";
}
const std::string kParams = paramsWith("123", "0");

Text words(int n) {
    Text line;
    for (int i = 1; i <= n; ++i) {
        line += (i > 1 ? u" w" : u"w") + toText(i);
    }
    return line;
}

class BadInput : public ::testing::Test {
  protected:
    // A console that has loaded the macros ed and np.
    ConsoleSession& started(const std::string& params = kParams) {
        writeBytes(folder / "zorlo.list", kList);
        writeBytes(folder / "zorlo.param", params);
        session = std::make_unique<ConsoleSession>(folder.path());
        return session->start();
    }
    // A later run on the same folder: what the first one saved.
    ConsoleSession& restarted() {
        session->close();
        session = std::make_unique<ConsoleSession>(folder.path());
        return session->start();
    }
    void expectMacrosIntact(const ConsoleSession& s) {
        EXPECT_EQ(s.macro(u"ed"), u"C:\\Tools\\editor.exe");
        EXPECT_EQ(s.macro(u"np"), u"notepad.exe");
    }
    std::size_t launches() const { return session->desk.log.count("launch"); }

    ScratchFolder folder;
    std::unique_ptr<ConsoleSession> session;
};

TEST_F(BadInput, FiftyOneWordsAreReportedAndTheConsoleGoesOn) {
    ConsoleSession& s = started();
    s.line(words(51));
    EXPECT_TRUE(s.paneHas(u"ERROR: Too many words: a line holds at most 50"));
    s.line(words(50) + u" ");
    EXPECT_EQ(launches(), 0u);

    // Completion on such a line offers nothing and leaves the line alone.
    s.type(words(51));
    const Text statusBefore = s.status();
    s.key(vk::Escape);
    EXPECT_EQ(s.console.cmdLine, words(51));
    EXPECT_EQ(s.status(), statusBefore);
    s.enter();

    s.line(words(50));
    EXPECT_EQ(launches(), 1u);
    expectMacrosIntact(s);
}

TEST_F(BadInput, AOneMegabytePasteIsTakenWholeOrRefused) {
    const Text big(1 << 20, u'x');
    ConsoleSession& s = started();
    s.paste(u"macro big " + big);
    s.enter();
    EXPECT_EQ(s.status(), u"Macro added: big");

    s.paste(big);
    s.enter();
    ASSERT_EQ(launches(), 1u);
    EXPECT_EQ(std::get<Text>(*s.desk.log.events.back().field("file")), big);
    EXPECT_LE(s.pane().size(), 64000u) << "the pane keeps only its newest text";

    Text manyWords;
    while (manyWords.size() < big.size()) {
        manyWords += u"ab ";
    }
    s.paste(manyWords);
    s.enter();
    EXPECT_TRUE(s.paneHas(u"ERROR: Too many words"));

    ConsoleSession& again = restarted();
    EXPECT_EQ(again.macro(u"big"), big);
    expectMacrosIntact(again);
}

TEST_F(BadInput, AnUnclosedBracketIsReportedWhereverItIsTyped) {
    ConsoleSession& s = started();
    s.line(u"[ed");
    EXPECT_TRUE(s.paneHas(u"ERROR: Invalid pattern: unclosed [ in \"[ed\""));
    // An argument is a pattern only for the history's duplicate test, which
    // compares nothing while the history is empty.
    s.line(u"ed [x");
    EXPECT_EQ(launches(), 1u);
    s.line(u"ed [y");
    EXPECT_TRUE(s.paneHas(u"ERROR: Invalid pattern: unclosed [ in \"[y\""));
    s.line(u"macro [a C:\\a.exe");
    EXPECT_EQ(s.status(), u"Error adding [a: Invalid pattern: unclosed [ in \"[a\"");
    const std::size_t before = s.mark();
    s.line(u"list [a");
    EXPECT_TRUE(s.paneSince(before).find(u"ERROR: Invalid pattern: unclosed [ in \"[a\"") !=
                Text::npos);

    // A completion word that is no pattern offers nothing.
    s.type(u"ed [a");
    const Text statusBefore = s.status();
    s.key(vk::Escape);
    EXPECT_EQ(s.console.cmdLine, u"ed [a");
    EXPECT_EQ(s.status(), statusBefore);

    EXPECT_EQ(launches(), 1u);
    EXPECT_EQ(s.console.macros.count(), 2u);
    expectMacrosIntact(s);
}

TEST_F(BadInput, TypedQuotesAndLineBreaksAreRefusedWhereTheyWouldBeStored) {
    ConsoleSession& s = started();
    s.line(u"macro \"a\"\"b\" x");
    EXPECT_EQ(s.status(), u"Cannot store a\"b" + Text(kCannotHold));
    s.line(u"macro q \"x\"\"y\"");
    EXPECT_EQ(s.status(), u"Cannot store q" + Text(kCannotHold));
    s.line(u"macro c\rr x");
    EXPECT_EQ(s.status(), u"Cannot store c\rr" + Text(kCannotHold));
    s.paste(u"macro l\nf x");
    s.enter();
    EXPECT_EQ(s.status(), u"Cannot store l\nf" + Text(kCannotHold));
    s.line(u"rename ed \"e\"\"d\"");
    EXPECT_EQ(s.status(), u"Cannot store e\"d" + Text(kCannotHold));
    s.paste(u"rename np n\r\np");
    s.enter();
    EXPECT_EQ(s.status(), u"Cannot store n\r\np" + Text(kCannotHold));

    ConsoleSession& again = restarted();
    EXPECT_EQ(again.console.macros.count(), 2u);
    expectMacrosIntact(again);
}

TEST_F(BadInput, TabsAndNulsInNamesAndValuesSurviveASave) {
    const Text nul(1, u'\0');
    ConsoleSession& s = started();
    s.line(u"macro \"t\tb\" \"v\tw\"");
    s.line(u"macro n" + nul + u"l v" + nul);
    s.line(u"rename np \"n\tp\"");
    EXPECT_EQ(s.status(), u"Rename np->n\tp: Ok");
    FakeDroppedData dropped;
    dropped.fileList = std::vector<Text>{u"C:\\Docs\\d" + nul + u"\tf.txt"};
    s.drop(dropped);

    ConsoleSession& again = restarted();
    EXPECT_EQ(again.macro(u"t\tb"), u"v\tw");
    EXPECT_EQ(again.macro(u"n" + nul + u"l"), u"v" + nul);
    EXPECT_EQ(again.macro(u"n\tp"), u"notepad.exe");
    EXPECT_EQ(again.macro(u"d" + nul + u"\tf"), u"C:\\Docs\\d" + nul + u"\tf.txt");
}

TEST_F(BadInput, DroppedQuotesAndLineBreaksAreRefusedAndTheRestIsAdded) {
    ConsoleSession& s = started();
    FakeDroppedData files;
    files.fileList = std::vector<Text>{u"C:\\Docs\\a\"b.txt", u"C:\\Docs\\good.txt"};
    s.drop(files);
    EXPECT_TRUE(s.paneHas(u"OLE Drop\r\n  Cannot store a\"b" + Text(kCannotHold)));
    EXPECT_EQ(s.macro(u"good"), u"C:\\Docs\\good.txt");

    FakeDroppedData quoted;
    quoted.plainText = u"say \"hi\"";
    s.drop(quoted);
    EXPECT_TRUE(s.paneHas(u"Cannot store say \"hi\"" + Text(kCannotHold)));

    s.desk.dialogs.queueInput(u"na\nme");
    FakeDroppedData named;
    named.fileList = std::vector<Text>{u"C:\\Docs\\memo.txt"};
    s.drop(named, ShiftState::Ctrl);
    EXPECT_TRUE(s.paneHas(u"Cannot store na\nme" + Text(kCannotHold)));

    EXPECT_EQ(s.console.macros.count(), 3u);
    expectMacrosIntact(s);
}

TEST_F(BadInput, ADroppedTextOfSeveralLinesIsRefusedWhole) {
    ConsoleSession& s = started();
    FakeDroppedData lines;
    lines.plainText = u"first line\r\nsecond line";
    s.drop(lines);
    EXPECT_TRUE(s.paneHas(u"Cannot store first line\r\n  second line" + Text(kCannotHold)));

    FakeDroppedData addresses;
    addresses.plainText = u"http://www.one.com/\r\nhttp://www.two.com/";
    s.drop(addresses);
    EXPECT_TRUE(s.paneHas(u"Cannot store one" + Text(kCannotHold)));

    EXPECT_EQ(s.console.macros.count(), 2u);
    EXPECT_FALSE(s.console.oleDrop);
    EXPECT_TRUE(s.pane().ends_with(u">")) << "a fresh prompt follows the report";
}

TEST_F(BadInput, AHotkeyThatIsNoKeyCodeLeavesTheTickIdle) {
    for (const auto& [key, modifier] :
         {std::pair<std::string, std::string>{"abc", "0"}, {"99999", "0"}, {"123", "abc"}}) {
        SCOPED_TRACE("key " + key + ", modifier " + modifier);
        ConsoleSession& s = started(paramsWith(key, modifier));
        EXPECT_TRUE(s.paneHas(u"LOAD: Param Ok"));
        const std::size_t events = s.desk.log.events.size();
        for (const int down : {123, 16, 17, 18, 65}) {
            s.desk.keyboard.setDown(down, true);
        }
        for (int i = 0; i < 3; ++i) {
            s.tick();
        }
        EXPECT_EQ(s.desk.log.events.size(), events) << "the tick showed, hid or bleeped";
        s.line(u"listparams");
        EXPECT_TRUE(s.paneHas(u"key (" + fromUtf8(key) + u")"));
        session->close();
        EXPECT_NE(readBytes(folder / "zorlo.param").find("\"" + key + "\""), std::string::npos)
            << "the stored value is kept as it was";
    }
}

} // namespace
} // namespace zorlo::testing
