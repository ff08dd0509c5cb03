// What a user types, pastes or drops that the console cannot take: each case
// ends in a clear report, and nothing stored before is lost.
#include "ConsoleSession.hpp"

namespace zorlo::testing {
namespace {

constexpr TextView kCannotHold = u": names and values cannot hold double quotes or line breaks";

Text words(int n) {
    Text line = u"w1";
    for (int i = 2; i <= n; ++i) {
        line += u" w" + toText(i);
    }
    return line;
}

class BadInput : public SessionTest {
  protected:
    // A console that has loaded the macros ed and np.
    ConsoleSession& started(const std::string& param = params()) { return startWith(kList, param); }
    std::size_t launches() const { return session->desk.log.count("launch"); }
    // Esc on the typed line offers nothing: the line and the status stay.
    void expectNoCompletion(ConsoleSession& s, TextView typed) {
        s.type(typed);
        const Text statusBefore = s.status();
        s.key(vk::Escape);
        EXPECT_EQ(s.console.snapshot().cmdLine, typed);
        EXPECT_EQ(s.status(), statusBefore);
    }
};

TEST_F(BadInput, FiftyOneWordsAreReportedAndTheConsoleGoesOn) {
    ConsoleSession& s = started();
    s.line(words(51));
    EXPECT_TRUE(s.paneHas(u"ERROR: Too many words: a line holds at most 50"));
    s.line(words(50) + u" ");
    EXPECT_EQ(launches(), 0u);

    expectNoCompletion(s, words(51));
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
    const std::size_t before = s.pane().size();
    s.line(u"list [a");
    EXPECT_NE(s.pane().find(u"ERROR: Invalid pattern: unclosed [ in \"[a\"", before), Text::npos);
    expectNoCompletion(s, u"ed [a"); // a completion word that is no pattern

    EXPECT_EQ(launches(), 1u);
    EXPECT_EQ(s.console.macroList().count(), 2u);
    expectMacrosIntact(s);
}

TEST_F(BadInput, TypedQuotesAndLineBreaksAreRefusedWhereTheyWouldBeStored) {
    ConsoleSession& s = started();
    // Typed or pasted (a paste may hold line breaks), and the name it would store.
    const std::tuple<bool, Text, Text> cases[] = {
        {false, u"macro \"a\"\"b\" x", u"a\"b"},   {false, u"macro q \"x\"\"y\"", u"q"},
        {false, u"macro c\rr x", u"c\rr"},         {true, u"macro l\nf x", u"l\nf"},
        {false, u"rename ed \"e\"\"d\"", u"e\"d"}, {true, u"rename np n\r\np", u"n\r\np"},
    };
    for (const auto& [pasted, typed, name] : cases) {
        pasted ? s.paste(typed) : s.type(typed);
        s.enter();
        EXPECT_EQ(s.status(), u"Cannot store " + name + Text(kCannotHold));
    }
    // Names no later comparison could take: empty, or no pattern as stored (a
    // rename keeps the case, an add into an empty list lowercases).
    const std::pair<Text, Text> unstorable[] = {
        {u"rename ed", u"Cannot store : the name is empty"},
        {u"rename ed [a-Z]", u"Cannot store [a-Z]: the name is no valid pattern (Invalid pattern: "
                             u"falling range a-Z in \"[a-Z]\")"},
        {u"delete ed", u"Remove ed: Ok"},
        {u"delete np", u"Remove np: Ok"},
        {u"macro", u"Cannot store : the name is empty"},
        {u"macro [Z-a] x", u"Cannot store [Z-a]: the name is no valid pattern (Invalid pattern: "
                           u"falling range z-a in \"[z-a]\")"},
        {u"macro ok x", u"Macro added: ok"},
        {u"ok arg", u"Execute ok: Success"},
    };
    for (const auto& [typed, report] : unstorable) {
        s.line(typed);
        EXPECT_EQ(s.status(), report) << toUtf8(typed);
    }
    s.line(u"macro ed C:\\Tools\\editor.exe");
    s.line(u"macro np notepad.exe");

    ConsoleSession& again = restarted();
    EXPECT_EQ(again.console.macroList().count(), 3u);
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

    // A half-typed line waits behind the drop's messages until Enter.
    s.type(u"delete ed");
    s.drop(files);
    EXPECT_EQ(s.console.snapshot().cmdLine, u"delete ed");
    EXPECT_TRUE(s.pane().ends_with(u"\r\n>delete ed"));
    EXPECT_EQ(s.desk.textArea.caret(), s.desk.textArea.length());

    EXPECT_EQ(s.console.macroList().count(), 3u);
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

    EXPECT_EQ(s.console.macroList().count(), 2u);
    EXPECT_FALSE(s.console.snapshot().oleDrop);
    EXPECT_TRUE(s.pane().ends_with(u">")) << "a fresh prompt follows the report";
}

// The console keeps its command line by reading only what each edit changed;
// wherever edits fall (over the prompt, into the output, a prompt or a line
// break pasted mid-line), the line must stay what a whole read gives.
TEST_F(BadInput, TheCommandLineFollowsEditsAnywhereInThePane) {
    ConsoleSession& s = started();
    FakeTextArea& area = s.desk.textArea;
    std::mt19937 random(15);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::array<Text, 6> pieces = {u"a", u"b ", u">", u"x>y", u"\r\nz", u"ab>\r\nc"};
    for (int step = 0; step < 800; ++step) {
        const int length = area.length();
        switch (below(8)) {
        case 0:
            area.backspace();
            break;
        case 1:
            area.deleteForward();
            break;
        case 2: // a drag anywhere, then the next edit replaces it
            area.setCaret(below(length + 1));
            area.setSelLength(below(length + 1));
            break;
        case 3:
            area.setCaret(length);
            break;
        default:
            area.replaceSelection(pieces[static_cast<std::size_t>(below(6))]);
            break;
        }
        const Text pane = area.text();
        const std::size_t prompt = pane.rfind(u'>');
        ASSERT_EQ(s.console.snapshot().cmdLine,
                  prompt == Text::npos ? pane : pane.substr(prompt + 1))
            << "after step " << step;
    }
}

TEST_F(BadInput, AHotkeyThatIsNoKeyCodeLeavesTheTickIdle) {
    for (const auto& [key, modifier] :
         {std::pair<std::string, std::string>{"abc", "0"}, {"99999", "0"}, {"123", "abc"}}) {
        SCOPED_TRACE("key " + key + ", modifier " + modifier);
        ConsoleSession& s = started(params(key, modifier));
        EXPECT_TRUE(s.paneHas(u"LOAD: Param Ok"));
        const std::size_t events = s.desk.log.events.size();
        for (const int down : {123, 16, 17, 18, 65}) {
            s.desk.keyboard.setDown(down, true);
        }
        for (int i = 0; i < 3; ++i) {
            s.console.timerTick();
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
