#include "ConsoleFixture.hpp"
#include "ui/win32/InputBox.hpp"

namespace zorlo::win32::testing {
namespace {

constexpr auto npos = std::wstring::npos;

// The word names no program, so nothing is launched; its argument is a web
// address that no macro holds, so the console offers to keep it.
constexpr std::wstring_view kLineWithAddress = L"nosuchprogram www.example.com/page";

// Yes to the question; the name box offers the name from the address and
// gives back the one typed. (The words are the engine's; a question box's
// title is checked with the close's question below.)
TEST_F(ConsoleTest, OfferedWebAddressIsKeptUnderTheNameTyped) {
    std::wstring offered;
    WindowWatch ask(dialogShowing(L"Add macro for "),
                    [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    WindowWatch name(nameBox(), [&](HWND box) {
        offered = windowText(GetDlgItem(box, InputBox::kEntryId));
        SetDlgItemTextW(box, InputBox::kEntryId, L"ex");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    enter(kLineWithAddress);
    ASSERT_TRUE(ask.fired());
    ASSERT_TRUE(name.fired());
    EXPECT_EQ(offered, L"example");
    EXPECT_TRUE(paneHas(L"  Macro added: ex\r\n")) << pane();
}

TEST_F(ConsoleTest, InvalidPatternIsReportedInAMessageBox) {
    enter(L"macro proj c:\\proj");
    WindowWatch box(dialogShowing(L"Cannot get item"),
                    [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); });
    enter(L"shell [abc");
    EXPECT_TRUE(box.fired());
}

TEST_F(ConsoleTest, FailedFinalSaveAsksAndNoKeepsTheConsole) {
    enter(L"macro docs c:\\docs");
    // A folder where the list goes: the list cannot be written.
    const auto list = folder_.path() / L"zorlo.list";
    std::filesystem::create_directory(list);
    std::wstring question, title;
    WindowWatch keep(dialogShowing(L"Could not save zorlo.list ("), [&](HWND box) {
        question = staticTexts(box);
        title = windowText(box);
        PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    typeText(edit(), L"list"); // half-typed when the window is closed
    SendMessageW(window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(keep.fired());
    EXPECT_NE(question.find(L"). Close anyway?"), npos) << question;
    EXPECT_EQ(title, L"Zorlo Console");
    ASSERT_TRUE(app_->mainWindow().isOpen());
    // The report of the failed save, then the line as it was, to go on with.
    EXPECT_TRUE(pane().ends_with(L")\r\n>list")) << pane();

    // A later close asks again; `exit` goes through the timer, which runs again.
    pressKey(edit(), VK_RETURN);
    WindowWatch close(dialogShowing(L"Could not save zorlo.list ("),
                      [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    enter(L"exit");
    EXPECT_TRUE(waitUntil([&] { return !app_->mainWindow().isOpen(); }));
    EXPECT_TRUE(close.fired());
}

} // namespace
} // namespace zorlo::win32::testing
