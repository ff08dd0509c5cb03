#include "ConsoleFixture.hpp"
#include "platform/win32/SingleInstance.hpp"

#include <fstream>
#include <sstream>

namespace zorlo::win32::testing {
namespace {

constexpr auto npos = std::wstring::npos;

RECT childRect(HWND parent, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT frameOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::string readBytes(const std::wstring& file) {
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST_F(ConsoleTest, StartsWithCaptionFirstLinePromptAndReady) {
    EXPECT_EQ(windowText(window()), L"Zorlo Console v2.2.3");
    EXPECT_TRUE(IsWindowVisible(window()));
    const std::wstring text = pane();
    EXPECT_EQ(text.rfind(L"  Starting up...\r\n", 0), 0u) << text;
    EXPECT_TRUE(endsWith(text, L"\r\n>")) << text;
    EXPECT_EQ(status(), L"Ready");
    EXPECT_EQ(selection(), std::make_pair(DWORD(text.size()), DWORD(text.size())));
}

TEST_F(ConsoleTest, TextAreaIsGreenOnBlackWithVerticalScrollBar) {
    const LONG_PTR style = GetWindowLongPtrW(edit(), GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
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

TEST_F(ConsoleTest, EnteredLineRunsAndANewPromptFollows) {
    enter(L"listparams");
    const std::wstring text = pane();
    EXPECT_NE(text.find(L">listparams\r\n"), npos) << text;
    EXPECT_NE(text.find(L"\r\n  key (123)\r\n"), npos) << text;
    EXPECT_TRUE(endsWith(text, L"\r\n>")) << text;
    EXPECT_EQ(status(), L"Ready");
    EXPECT_EQ(selection().first, pane().size());
    // Enter in the middle of a line still runs all of it.
    typeText(edit(), L"find zzz");
    SendMessageW(edit(), EM_SETSEL, pane().size() - 3, pane().size() - 3);
    pressKey(edit(), VK_RETURN);
    EXPECT_NE(pane().find(L">find zzz\r\n  No Macros Found\r\n>"), npos) << pane();
}

TEST_F(ConsoleTest, ProgramWritesRunTheChangeHandlingBeforeReturning) {
    // EM_REPLACESEL: the finished output line gets its prompt at once.
    app_->console().writeOutput(u"note");
    EXPECT_TRUE(endsWith(pane(), L"  note\r\n>")) << pane();
    // WM_SETTEXT, for which a multi-line EDIT sends no EN_CHANGE of its own.
    app_->mainWindow().textArea().setText(u"out>typed");
    EXPECT_EQ(app_->console().cmdLine, u"typed");
}

TEST_F(ConsoleTest, UpAndDownRecallEnteredLines) {
    for (const auto* line : {L"find a", L"find b", L"find c"}) {
        enter(line);
    }
    pressKey(edit(), VK_UP);
    EXPECT_EQ(commandLine(), L"find c");
    // Swallowed: EDIT never moved the caret up a line.
    EXPECT_EQ(selection().first, pane().size());
    pressKey(edit(), VK_UP);
    EXPECT_EQ(commandLine(), L"find b");
    pressKey(edit(), VK_DOWN);
    EXPECT_EQ(commandLine(), L"find b");
    pressKey(edit(), VK_DOWN);
    EXPECT_EQ(commandLine(), L"find c");
    pressKey(edit(), VK_DOWN);
    EXPECT_EQ(commandLine(), L"find c");
}

TEST_F(ConsoleTest, EscCompletesTheLastWordFromTheMacros) {
    enter(L"macro nc c:\\nc.exe");
    enter(L"macro notepad c:\\np.exe");
    enter(L"macro nslookup c:\\ns.exe");
    typeText(edit(), L"edit no");
    pressKey(edit(), VK_ESCAPE);
    EXPECT_EQ(commandLine(), L"edit notepad");
    EXPECT_EQ(status(), L"'notepad' from MACROS");
    EXPECT_EQ(selection().first, pane().size());
}

TEST_F(ConsoleTest, HomeKeysPlaceTheCaretOnTheCommandLine) {
    typeText(edit(), L"find xyz");
    const auto end = static_cast<DWORD>(pane().size());
    {
        const HeldKeys shift({VK_SHIFT});
        pressKey(edit(), VK_HOME);
    }
    EXPECT_EQ(selection(), std::make_pair(end - 8, end));
    pressKey(edit(), VK_HOME);
    EXPECT_EQ(selection(), std::make_pair(end - 8, end - 8));
}

TEST_F(ConsoleTest, ClickInOutputReturnsTheCaretButKeepsASelection) {
    typeText(edit(), L"abc");
    SendMessageW(edit(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(edit(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(selection().first, pane().size());
    SendMessageW(edit(), EM_SETSEL, 0, 5);
    SendMessageW(edit(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(selection(), std::make_pair(DWORD(0), DWORD(5)));
}

TEST_F(ConsoleTest, ResizeRefitsBothControlsUnlessMinimised) {
    const HWND label = app_->mainWindow().label().handle();
    // 6000 by 3000 twips at 15 twips per pixel.
    SetWindowPos(window(), nullptr, 0, 0, 400, 200, SWP_NOMOVE | SWP_NOZORDER);
    const RECT text = childRect(window(), edit());
    EXPECT_EQ(text.left, 0);
    EXPECT_EQ(text.top, 18);
    EXPECT_EQ(text.right - text.left, 392);
    EXPECT_EQ(text.bottom - text.top, 156);
    const RECT status = childRect(window(), label);
    EXPECT_EQ(status.left, 0);
    EXPECT_EQ(status.top, 0);
    EXPECT_EQ(status.right - status.left, 392);
    ShowWindow(window(), SW_MINIMIZE);
    const RECT whileMinimised = childRect(window(), edit());
    EXPECT_EQ(whileMinimised.right - whileMinimised.left, 392);
    EXPECT_EQ(whileMinimised.bottom - whileMinimised.top, 156);
}

TEST_F(ConsoleTest, MaxSpreadsTheWindowAndMinPutsItBack) {
    const RECT before = frameOf(window());
    enter(L"max");
    const RECT large = frameOf(window());
    EXPECT_EQ(large.left, 13);
    EXPECT_EQ(large.top, 13);
    EXPECT_NEAR(large.right - large.left, GetSystemMetrics(SM_CXSCREEN) - 400 / 15.0, 1);
    EXPECT_NEAR(large.bottom - large.top, GetSystemMetrics(SM_CYSCREEN) - 700 / 15.0, 1);
    const RECT text = childRect(window(), edit());
    EXPECT_EQ(text.right - text.left, large.right - large.left - 8);
    enter(L"min");
    const RECT after = frameOf(window());
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
}

TEST_F(ConsoleTest, HidingLeavesTheTopmostBandInPlace) {
    SetWindowPos(window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(GetWindowLongPtrW(window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    const RECT before = frameOf(window());
    app_->console().hideWindow();
    EXPECT_FALSE(IsWindowVisible(window()));
    EXPECT_FALSE(GetWindowLongPtrW(window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    const RECT after = frameOf(window());
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(app_->console().shown, 0);
}

TEST_F(ConsoleTest, ToggleMessageOfASecondStartShowsAHiddenConsole) {
    auto& console = app_->console();
    console.hideWindow();
    console.hidden = true;
    PostMessageW(window(), SingleInstance::toggleMessage(), 0, 0);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(window()) != FALSE; }));
    EXPECT_EQ(console.shown, 1);
    EXPECT_FALSE(console.hidden);
}

TEST_F(ConsoleTest, ExitClosesAtTheNextTickAndSaves) {
    enter(L"macro docs c:\\docs");
    enter(L"exit");
    EXPECT_TRUE(app_->mainWindow().isOpen()); // the tick closes it, not the command
    EXPECT_TRUE(waitUntil([&] { return !app_->mainWindow().isOpen(); }, 2000));
    EXPECT_NE(readBytes(folder_ / L"zorlo.list").find("c:\\docs"), std::string::npos);
    EXPECT_NE(readBytes(folder_ / L"zorlo.param").find("\"key\""), std::string::npos);
}

TEST_F(ConsoleTest, CloseBoxSavesLikeExit) {
    SendMessageW(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(app_->mainWindow().isOpen());
    EXPECT_NE(readBytes(folder_ / L"zorlo.param").find("\"123\""), std::string::npos);
}

// ---- the capture window ----

struct Modifiers {
    const char* name;
    std::vector<int> held;
    int recorded;
};

class HotkeyCaptureTest : public ConsoleTest, public ::testing::WithParamInterface<Modifiers> {};

TEST_P(HotkeyCaptureTest, RecordsF9WithAtMostOneModifier) {
    const RECT console = frameOf(window());
    std::wstring label;
    RECT placed{};
    WindowWatch watch(windowTitled(KeyCaptureWindow::kClassName, L"Zorlo Hotkey"),
                      [&](HWND capture) {
                          label = staticTexts(capture);
                          GetWindowRect(capture, &placed);
                          const HeldKeys held(GetParam().held);
                          const bool alt = GetKeyState(VK_MENU) < 0;
                          const UINT keyDown = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
                          // Modifiers alone are passed over.
                          for (const int modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
                              SendMessageW(capture, keyDown, modifier, 1);
                          }
                          SendMessageW(capture, keyDown, VK_F9, 1);
                      });
    enter(L"param key");
    ASSERT_TRUE(watch.fired());
    EXPECT_EQ(label, L"Press Hotkey\n");
    EXPECT_EQ(placed.left - console.left, 100); // 1500 twips
    EXPECT_EQ(placed.top - console.top, 60);    // 900 twips
    EXPECT_EQ(app_->captureWindow(), nullptr);
    enter(L"listparams");
    EXPECT_NE(pane().find(L"  key (120)\r\n"), npos) << pane();
    EXPECT_NE(pane().find(L"  modifier (" + std::to_wstring(GetParam().recorded) + L")\r\n"), npos)
        << pane();
}

INSTANTIATE_TEST_SUITE_P(Keys, HotkeyCaptureTest,
                         ::testing::Values(Modifiers{"Ctrl", {VK_CONTROL}, 17},
                                           Modifiers{"Shift", {VK_SHIFT}, 16},
                                           Modifiers{"Alt", {VK_MENU}, 18},
                                           Modifiers{"CtrlShift", {VK_CONTROL, VK_SHIFT}, 0},
                                           Modifiers{"None", {}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleTest, ClosingTheCaptureWindowKeepsTheHotkey) {
    WindowWatch watch(windowTitled(KeyCaptureWindow::kClassName, L"Zorlo Hotkey"),
                      [](HWND capture) { SendMessageW(capture, WM_CLOSE, 0, 0); });
    enter(L"param key");
    ASSERT_TRUE(watch.fired());
    EXPECT_TRUE(app_->console().xTimers);
    enter(L"listparams");
    EXPECT_NE(pane().find(L"  key (123)\r\n"), npos) << pane();
    EXPECT_NE(pane().find(L"  modifier (0)\r\n"), npos) << pane();
}

} // namespace
} // namespace zorlo::win32::testing
