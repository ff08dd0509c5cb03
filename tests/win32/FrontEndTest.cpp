#include "ConsoleFixture.hpp"
#include "platform/win32/SingleInstance.hpp"

#include <array>

namespace zorlo::win32::testing {
namespace {

// Left, top, width and height of a window's frame, or of a child in its parent.
std::array<LONG, 4> placeOf(HWND window, HWND parent = nullptr) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

TEST_F(ConsoleTest, StartsWithCaptionFirstLinePromptAndColours) {
    EXPECT_EQ(windowText(window()), L"Zorlo Console v2.2.3");
    EXPECT_TRUE(IsWindowVisible(window()));
    EXPECT_EQ(pane().rfind(L"  Starting up...\r\n", 0), 0u) << pane();
    EXPECT_TRUE(endsWith(pane(), L"\r\n>")) << pane();
    EXPECT_EQ(status(), L"Ready");
    EXPECT_EQ(selection(), atEnd());

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

// Keys sent to the EDIT reach the engine: Enter runs the whole line wherever
// the caret is, Home and Shift+Home land on the command line, Esc completes, Up
// and Down recall, each swallowed so that EDIT never moves the caret itself.
TEST_F(ConsoleTest, TypedKeysDriveTheCommandLine) {
    enter(L"listparams");
    EXPECT_TRUE(paneHas(L">listparams\r\n") && paneHas(L"\r\n  key (123)\r\n")) << pane();
    EXPECT_TRUE(endsWith(pane(), L"\r\n>")) << pane();
    EXPECT_EQ(status(), L"Ready");
    EXPECT_EQ(selection(), atEnd());
    typeText(edit(), L"find zzz");
    SendMessageW(edit(), EM_SETSEL, pane().size() - 3, pane().size() - 3);
    pressKey(edit(), VK_RETURN);
    EXPECT_TRUE(paneHas(L">find zzz\r\n  No Macros Found\r\n>")) << pane();

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
    EXPECT_EQ(status(), L"'notepad' from MACROS");
    EXPECT_EQ(selection(), atEnd());

    // Each key and the line it recalls; Down past the newest line stays there.
    const std::pair<UINT, const wchar_t*> steps[] = {{VK_UP, L"macro notepad c:\\np.exe"},
                                                     {VK_UP, L"macro nc c:\\nc.exe"},
                                                     {VK_DOWN, L"macro nc c:\\nc.exe"},
                                                     {VK_DOWN, L"macro notepad c:\\np.exe"},
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
    EXPECT_TRUE(endsWith(pane(), L"  note\r\n>")) << pane();
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
    EXPECT_EQ(placeOf(edit(), window())[2], large[2] - 8);
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
    EXPECT_EQ(app_->console().snapshot().shown, 0);
}

TEST_F(ConsoleTest, ToggleMessagesOfSecondStartsHideAndShowTheConsole) {
    const auto& console = app_->console();
    PostMessageW(window(), SingleInstance::toggleMessage(), 0, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(window()); }));
    EXPECT_TRUE(console.snapshot().hidden);
    PostMessageW(window(), SingleInstance::toggleMessage(), 0, 0);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(window()) != FALSE; }));
    EXPECT_EQ(console.snapshot().shown, 1);
    EXPECT_FALSE(console.snapshot().hidden);
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
    const auto console = placeOf(window());
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
    EXPECT_EQ(placed.left - console[0], 100); // 1500 twips
    EXPECT_EQ(placed.top - console[1], 60);   // 900 twips
    EXPECT_EQ(app_->captureWindow(), nullptr);
    enter(L"listparams");
    EXPECT_TRUE(paneHas(L"  key (120)\r\n")) << pane();
    EXPECT_TRUE(paneHas(L"  modifier (" + std::to_wstring(GetParam().recorded) + L")\r\n"))
        << pane();
}

INSTANTIATE_TEST_SUITE_P(Keys, HotkeyCaptureTest,
                         ::testing::Values(Modifiers{"Ctrl", {VK_CONTROL}, 17},
                                           Modifiers{"Shift", {VK_SHIFT}, 16},
                                           Modifiers{"Alt", {VK_MENU}, 18},
                                           Modifiers{"CtrlShift", {VK_CONTROL, VK_SHIFT}, 0},
                                           Modifiers{"None", {}, 0}),
                         [](const auto& instance) { return std::string(instance.param.name); });

TEST_F(ConsoleTest, ClosingTheCaptureWindowKeepsTheHotkey) {
    WindowWatch watch(windowTitled(KeyCaptureWindow::kClassName, L"Zorlo Hotkey"),
                      [](HWND capture) { SendMessageW(capture, WM_CLOSE, 0, 0); });
    enter(L"param key");
    ASSERT_TRUE(watch.fired());
    EXPECT_TRUE(app_->console().snapshot().xTimers);
    enter(L"listparams");
    EXPECT_TRUE(paneHas(L"  key (123)\r\n") && paneHas(L"  modifier (0)\r\n")) << pane();
}

} // namespace
} // namespace zorlo::win32::testing
