#include "TestSupport.hpp"
#include "ui/win32/InputBox.hpp"

#include <array>

namespace zorlo::win32::testing {
namespace {

// Holds keys down in this thread's key state for as long as it lives, which is
// what GetKeyState reports to the handlers.
class HeldKeys {
  public:
    explicit HeldKeys(const std::vector<int>& keys) {
        GetKeyboardState(saved_.data());
        auto state = saved_;
        for (const int key : keys) {
            state[key] = 0x80;
        }
        SetKeyboardState(state.data());
    }
    ~HeldKeys() { SetKeyboardState(saved_.data()); }

  private:
    std::array<BYTE, 256> saved_;
};

// Left, top, width and height of a window's frame, or of a child in its parent.
std::array<LONG, 4> placeOf(HWND window, HWND parent = nullptr) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

TEST_F(ConsoleTest, StartsVisibleWithItsCaptionAndColours) {
    EXPECT_EQ(windowText(window()), L"Zorlo Console v2.2.3");
    EXPECT_TRUE(IsWindowVisible(window()));
    const LONG_PTR style = GetWindowLongPtrW(edit(), GWL_STYLE);
    EXPECT_TRUE((style & ES_MULTILINE) && (style & WS_VSCROLL));
    const HDC dc = CreateCompatibleDC(nullptr);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        window(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit())));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 192, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 0));
    LOGBRUSH fill{};
    ASSERT_NE(GetObjectW(brush, sizeof fill, &fill), 0);
    EXPECT_EQ(fill.lbColor, RGB(0, 0, 0));
    DeleteDC(dc);
}

// Keys sent to the EDIT reach the engine with the shift keys held: Enter runs
// the whole line wherever the caret is, Home and Shift+Home land on the command
// line, Esc completes, Up and Down recall, each swallowed so that EDIT never
// moves the caret itself. What each key does to the line is the engine's.
TEST_F(ConsoleTest, TypedKeysDriveTheCommandLine) {
    typeText(edit(), L"find zzz");
    SendMessageW(edit(), EM_SETSEL, pane().size() - 3, pane().size() - 3);
    pressKey(edit(), VK_RETURN);
    EXPECT_TRUE(pane().ends_with(L">find zzz\r\n  No Macros Found\r\n>")) << pane();
    EXPECT_EQ(selection(), atEnd());

    enter(L"macro nc c:\\nc.exe");
    enter(L"macro notepad c:\\np.exe");
    typeText(edit(), L"edit no");
    const auto end = static_cast<DWORD>(pane().size());
    {
        const HeldKeys shift({VK_SHIFT});
        pressKey(edit(), VK_HOME);
    }
    EXPECT_EQ(selection(), std::make_pair(end - 7, end));
    pressKey(edit(), VK_HOME);
    EXPECT_EQ(selection(), std::make_pair(end - 7, end - 7));
    pressKey(edit(), VK_END);
    pressKey(edit(), VK_ESCAPE);
    EXPECT_EQ(commandLine(), L"edit notepad");
    EXPECT_EQ(windowText(app_->mainWindow().label().handle()), L"'notepad' from MACROS");
    EXPECT_EQ(selection(), atEnd());

    // Each key and the line it recalls.
    const std::pair<UINT, const wchar_t*> steps[] = {{VK_UP, L"macro notepad c:\\np.exe"},
                                                     {VK_UP, L"macro nc c:\\nc.exe"},
                                                     {VK_DOWN, L"macro nc c:\\nc.exe"},
                                                     {VK_DOWN, L"macro notepad c:\\np.exe"}};
    for (const auto& [key, recalled] : steps) {
        pressKey(edit(), key);
        EXPECT_EQ(commandLine(), recalled);
        EXPECT_EQ(selection(), atEnd());
    }
}

TEST_F(ConsoleTest, ProgramWritesRunTheChangeHandlingBeforeReturning) {
    // EM_REPLACESEL: the finished output line gets its prompt at once.
    app_->console().writeOutput(u"note");
    EXPECT_TRUE(pane().ends_with(L"  note\r\n>")) << pane();
    // WM_SETTEXT, for which a multi-line EDIT sends no EN_CHANGE of its own.
    app_->mainWindow().textArea().setText(u"out>typed");
    EXPECT_EQ(app_->console().snapshot().cmdLine, u"typed");
}

TEST_F(ConsoleTest, ClickInOutputReturnsTheCaretButKeepsASelection) {
    typeText(edit(), L"abc");
    SendMessageW(edit(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(edit(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(selection(), atEnd());
    SendMessageW(edit(), EM_SETSEL, 0, 5);
    SendMessageW(edit(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(selection(), std::make_pair(DWORD(0), DWORD(5)));
}

TEST_F(ConsoleTest, ResizeRefitsBothControlsUnlessMinimised) {
    using Place = std::array<LONG, 4>;
    // 6000 by 3000 twips at 15 twips per pixel.
    SetWindowPos(window(), nullptr, 0, 0, 400, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(placeOf(edit(), window()), (Place{0, 18, 392, 156}));
    Place label = placeOf(app_->mainWindow().label().handle(), window());
    label[3] = 0; // the label keeps its own height
    EXPECT_EQ(label, (Place{0, 0, 392, 0}));
    ShowWindow(window(), SW_MINIMIZE);
    const Place minimised = placeOf(edit(), window());
    EXPECT_EQ(minimised[2], 392);
    EXPECT_EQ(minimised[3], 156);
}

TEST_F(ConsoleTest, MaxSpreadsTheWindowAndMinPutsItBack) {
    const auto before = placeOf(window());
    enter(L"max");
    const auto large = placeOf(window());
    EXPECT_EQ(large[0], 13);
    EXPECT_EQ(large[1], 13);
    EXPECT_NEAR(large[2], GetSystemMetrics(SM_CXSCREEN) - 400 / 15.0, 1);
    EXPECT_NEAR(large[3], GetSystemMetrics(SM_CYSCREEN) - 700 / 15.0, 1);
    enter(L"min");
    EXPECT_EQ(placeOf(window()), before);
}

TEST_F(ConsoleTest, HidingLeavesTheTopmostBandInPlace) {
    SetWindowPos(window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(GetWindowLongPtrW(window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    const auto before = placeOf(window());
    app_->console().hideWindow();
    EXPECT_FALSE(IsWindowVisible(window()));
    EXPECT_FALSE(GetWindowLongPtrW(window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(placeOf(window()), before);
}

// The capture window, beside the console, records F9 with the modifier held;
// closed, it records nothing and the console polls again.
TEST_F(ConsoleTest, CaptureWindowRecordsF9WithTheModifierHeld) {
    const auto console = placeOf(window());
    const std::pair<std::vector<int>, std::wstring> cases[] = {
        {{VK_CONTROL}, L"Ctrl+F9"}, {{VK_SHIFT}, L"Shift+F9"}, {{VK_MENU}, L"Alt+F9"}, {{}, L"F9"}};
    for (const auto& [held, named] : cases) {
        std::wstring label;
        RECT placed{};
        WindowWatch watch(windowTitled(KeyCaptureWindow::kClassName, L"Zorlo Hotkey"),
                          [&](HWND capture) {
                              label = staticTexts(capture);
                              GetWindowRect(capture, &placed);
                              const HeldKeys keys(held);
                              const bool alt = GetKeyState(VK_MENU) < 0;
                              SendMessageW(capture, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, VK_F9, 1);
                          });
        enter(L"param key");
        ASSERT_TRUE(watch.fired());
        EXPECT_EQ(label, L"Press Hotkey\n");
        EXPECT_EQ(placed.left - console[0], 100); // 1500 twips
        EXPECT_EQ(placed.top - console[1], 60);   // 900 twips
        EXPECT_EQ(app_->captureWindow(), nullptr);
        EXPECT_TRUE(pane().ends_with(L"  Hotkey: " + named + L"\r\n>")) << pane();
    }
    WindowWatch closed(windowTitled(KeyCaptureWindow::kClassName, L"Zorlo Hotkey"),
                       [](HWND capture) { SendMessageW(capture, WM_CLOSE, 0, 0); });
    enter(L"param key");
    ASSERT_TRUE(closed.fired());
    EXPECT_EQ(app_->captureWindow(), nullptr);
    EXPECT_TRUE(app_->console().snapshot().xTimers);
}

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
    // The word names no program, so nothing is launched; its argument is a web
    // address that no macro holds, so the console offers to keep it.
    enter(L"nosuchprogram www.example.com/page");
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
    EXPECT_NE(question.find(L"). Close anyway?"), std::wstring::npos) << question;
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
