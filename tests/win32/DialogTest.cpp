#include "ConsoleFixture.hpp"
#include "ui/win32/InputBox.hpp"

namespace zorlo::win32::testing {
namespace {

constexpr auto npos = std::wstring::npos;

// The word names no program, so nothing is launched; its argument is a web
// address that no macro holds, so the console offers to keep it.
constexpr std::wstring_view kLineWithAddress = L"nosuchprogram www.example.com/page";

TEST_F(ConsoleTest, OfferedWebAddressIsKeptUnderTheNameTyped) {
    std::wstring question, questionTitle, offered;
    WindowWatch ask(dialogShowing(L"Add macro for "), [&](HWND box) {
        question = staticTexts(box);
        questionTitle = windowText(box);
        PostMessageW(box, WM_COMMAND, IDYES, 0);
    });
    WindowWatch name(nameBox(), [&](HWND box) {
        offered = windowText(GetDlgItem(box, InputBox::kEntryId));
        SetDlgItemTextW(box, InputBox::kEntryId, L"ex");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    enter(kLineWithAddress);
    ASSERT_TRUE(ask.fired());
    ASSERT_TRUE(name.fired());
    EXPECT_NE(question.find(L"Add macro for www.example.com/page?"), npos) << question;
    EXPECT_EQ(questionTitle, L"Zorlo Console");
    EXPECT_EQ(offered, L"example");
    EXPECT_TRUE(paneHas(L"  Macro added: ex\r\n")) << pane();
}

TEST_F(ConsoleTest, DeclinedOfferAsksNoName) {
    WindowWatch ask(dialogShowing(L"Add macro for "),
                    [](HWND box) { PostMessageW(box, WM_COMMAND, IDNO, 0); });
    WindowWatch name(nameBox(), [](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
    enter(kLineWithAddress);
    EXPECT_TRUE(ask.fired());
    EXPECT_FALSE(name.fired());
    EXPECT_TRUE(app_->console().macroList().empty());
}

TEST_F(ConsoleTest, InvalidPatternIsReportedInAMessageBox) {
    enter(L"macro proj c:\\proj");
    std::wstring shown;
    WindowWatch box(dialogShowing(L"Cannot get item"), [&](HWND dialog) {
        shown = staticTexts(dialog);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    enter(L"shell [abc");
    ASSERT_TRUE(box.fired());
    EXPECT_NE(shown.find(L"Cannot get item: [abc"), npos) << shown;
    EXPECT_TRUE(paneHas(L"  Shell [abc: Error: Not Found\r\n")) << pane();
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
    EXPECT_TRUE(endsWith(pane(), L")\r\n>list")) << pane();
    pressKey(edit(), VK_RETURN);
    EXPECT_TRUE(paneHas(L"  docs (c:\\docs)\r\n")) << pane();
    // The user mends the folder and saves: nothing typed was lost.
    std::filesystem::remove(list);
    enter(L"save");
    EXPECT_NE(readBytes(list).find("c:\\docs"), std::string::npos);

    // A later close asks again; `exit` goes through the timer, which runs again.
    std::filesystem::remove(list);
    std::filesystem::create_directory(list);
    WindowWatch close(dialogShowing(L"Could not save zorlo.list ("),
                      [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    enter(L"exit");
    EXPECT_TRUE(waitUntil([&] { return !app_->mainWindow().isOpen(); }));
    EXPECT_TRUE(close.fired());
}

} // namespace
} // namespace zorlo::win32::testing
