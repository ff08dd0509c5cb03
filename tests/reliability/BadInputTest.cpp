// What a user types, pastes or drops that the console cannot take: each case
// ends in a clear report, and nothing stored before is lost.
#include "ConsoleSession.hpp"

namespace zorlo::testing {
namespace {

constexpr TextView kCannotHold = u": names and values cannot hold double quotes or line breaks";

using BadInput = SessionTest;

TEST_F(BadInput, PastesAreTakenWholeOrRefused) {
    const Text big(1 << 20, u'x');
    ConsoleSession& s = startWith(kList, params()); // the macros ed and np
    s.paste(u"macro big " + big);
    s.enter();
    EXPECT_EQ(s.status(), u"Macro added: big");

    s.paste(big);
    s.enter();
    ASSERT_EQ(s.desk.log.count("launch"), 1u);
    EXPECT_EQ(std::get<Text>(*s.desk.log.events.back().field("file")), big);
    EXPECT_LE(s.pane().size(), 64000u) << "the pane keeps only its newest text";

    // A paste arrives whole, line breaks and all; the name it would store is
    // refused as a typed quote is (the unstorable and unstorable_names transcripts).
    const std::pair<Text, Text> unstorable[] = {{u"macro l\nf x", u"l\nf"},
                                                {u"rename np n\r\np", u"n\r\np"}};
    for (const auto& [pasted, name] : unstorable) {
        s.paste(pasted);
        s.enter();
        EXPECT_EQ(s.status(), u"Cannot store " + name + Text(kCannotHold));
    }

    s.close(); // the next run finds what this one saved
    ConsoleSession& again = startIn(folder.path());
    EXPECT_EQ(again.console.macroList().count(), 3u);
    EXPECT_EQ(again.macro(u"big"), big);
    EXPECT_EQ(again.macro(u"ed"), u"C:\\Tools\\editor.exe");
    EXPECT_EQ(again.macro(u"np"), u"notepad.exe");
}

// The console keeps its command line by reading only what each edit changed;
// wherever edits fall (over the prompt, into the output, a prompt or a line
// break pasted mid-line), the line must stay what a whole read gives.
TEST_F(BadInput, TheCommandLineFollowsEditsAnywhereInThePane) {
    ConsoleSession& s = startWith(kList, params());
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

} // namespace
} // namespace zorlo::testing
