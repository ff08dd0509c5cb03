#include "ConsoleFixture.hpp"
#include "launch/ArgumentText.hpp"
#include "platform/win32/StartMenu.hpp"
#include "platform/win32/WideText.hpp"
#include "platform/win32/Win32ProcessStarter.hpp"
#include "platform/win32/Win32Shell.hpp"
#include "text/Failure.hpp"

#include <algorithm>

namespace zorlo::win32::testing {
namespace {

bool samePath(std::wstring a, std::wstring b) {
    for (std::wstring* path : {&a, &b}) {
        while (path->size() > 3 && path->back() == L'\\') {
            path->pop_back(); // no closing backslash, except on a drive's root
        }
    }
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

TEST_F(ConsoleTest, MacroStartsTheProgramWithItsArgumentsInItsFolder) {
    const std::wstring marker = (programFolder() / L"marker.exe").wstring();
    const std::wstring report = folder_ / L"marker.txt";
    SetEnvironmentVariableW(L"ZORLO_MARKER", report.c_str());
    enter(L"macro mark " + marker);
    enter(L"mark alpha beta");
    EXPECT_TRUE(paneHas(L"  Execute mark: Success\r\n")) << pane();
    EXPECT_FALSE(IsWindowVisible(window())); // autohide after a launch
    const std::wstring written = awaitMarker(report);
    ASSERT_EQ(written.rfind(L"cwd=", 0), 0u) << written;
    const auto cwd = written.substr(4, written.find(L'\n') - 4);
    EXPECT_TRUE(samePath(cwd, programFolder().wstring())) << written;
    EXPECT_NE(written.find(L"\narg=alpha\narg=beta\n"), std::wstring::npos) << written;
    SetEnvironmentVariableW(L"ZORLO_MARKER", nullptr);
}

// The shortcut itself is opened, with the words quoted as a macro's launch
// quotes them, in the folder given; a shortcut that is gone is code 2.
TEST(StartMenu, LaunchOpensTheShortcutWithTheWords) {
    TempFolder folder;
    const std::wstring report = folder / L"marker.txt";
    const std::wstring shortcut = folder / L"Marker.lnk";
    makeShortcut(shortcut, programFolder() / L"marker.exe");
    SetEnvironmentVariableW(L"ZORLO_MARKER", report.c_str());
    Win32Applications apps(&launchArgument);
    Application app{u"Marker", {}, u"", fromWide(shortcut)};
    const Text here = fromWide(folder.path().wstring());
    EXPECT_GT(apps.launch(app, {u"alpha", u"two words", u"C:\\my folder\\"}, here), 32);
    const std::wstring written = awaitMarker(report);
    SetEnvironmentVariableW(L"ZORLO_MARKER", nullptr);
    ASSERT_EQ(written.rfind(L"cwd=", 0), 0u) << written;
    EXPECT_TRUE(samePath(written.substr(4, written.find(L'\n') - 4), folder.path().wstring()))
        << written;
    EXPECT_NE(written.find(L"\narg=alpha\narg=two words\narg=C:\\my folder\\\n"),
              std::wstring::npos)
        << written;
    app.key = fromWide(folder / L"Gone.lnk");
    EXPECT_EQ(apps.launch(app, {}, here), 2);
}

// A shortcut put in the Start menu while the console runs: `apps` lists it
// once the menu is read again, and its name launches it with the words in the
// console's own folder.
TEST_F(ConsoleTest, AStartMenuShortcutIsListedAndLaunchedByName) {
    TempFolder menu(startMenuFolders().front());
    const std::wstring marker = (programFolder() / L"marker.exe").wstring();
    const std::wstring report = folder_ / L"marker.txt";
    makeShortcut(menu.path() / L"Nested" / L"ZorloMarker.lnk", marker);
    const std::wstring listed = L"  ZorloMarker (" + marker + L")\r\n";
    for (int tries = 0; tries < 50 && !paneHas(listed); ++tries) {
        waitUntil([] { return false; }, 200);
        enter(L"apps zorlom");
    }
    ASSERT_TRUE(paneHas(listed)) << pane();
    SetEnvironmentVariableW(L"ZORLO_MARKER", report.c_str());
    enter(L"zorlomarker alpha \"two words\"");
    EXPECT_TRUE(paneHas(L"  Execute ZorloMarker: Success\r\n")) << pane();
    const std::wstring written = awaitMarker(report);
    SetEnvironmentVariableW(L"ZORLO_MARKER", nullptr);
    std::wstring here(MAX_PATH, L'\0');
    here.resize(GetCurrentDirectoryW(MAX_PATH, here.data()));
    EXPECT_EQ(written, L"cwd=" + here + L"\narg=alpha\narg=two words\n");
}

TEST_F(ConsoleTest, MissingFileIsReportedWithCodeTwosText) {
    const std::wstring missing = folder_ / L"missing.exe";
    Win32Shell shell;
    EXPECT_EQ(shell.open(std::u16string(missing.begin(), missing.end()), u"", u"\\"), 2);
    enter(L"!" + missing);
    EXPECT_TRUE(paneHas(L"  Execute Literal: Failed " + missing +
                        L"\r\n  (The specified file was not found.)\r\n"))
        << pane();
    EXPECT_TRUE(IsWindowVisible(window()));
}

TEST_F(ConsoleTest, ShellCommandOpensCmdInTheMacrosFolder) {
    const auto before = processesNamed(L"cmd.exe");
    enter(L"macro proj " + folder_.path().wstring());
    enter(L"shell proj");
    EXPECT_TRUE(paneHas(L"  Shell open\r\n")) << pane();
    EXPECT_FALSE(IsWindowVisible(window())); // autohide
    std::vector<DWORD> started;
    ASSERT_TRUE(waitUntil([&] {
        started = processesNamed(L"cmd.exe");
        std::erase_if(started, [&](DWORD id) { return std::ranges::count(before, id) > 0; });
        return !started.empty();
    }));
    std::optional<ProcessView> view;
    EXPECT_TRUE(waitUntil([&] { return (view = inspectProcess(started.front())).has_value(); }));
    for (const DWORD id : started) {
        if (const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
            TerminateProcess(process, 0);
            CloseHandle(process);
        }
    }
    ASSERT_TRUE(view.has_value());
    EXPECT_TRUE(samePath(view->currentFolder, folder_.path().wstring())) << view->currentFolder;
    EXPECT_EQ(view->commandLine, L"cmd.exe /K");
}

TEST_F(ConsoleTest, ShellCommandRefusesAFileAndAMissingFolder) {
    const std::wstring file = folder_ / L"file.txt";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    enter(L"macro f " + file);
    enter(L"shell f");
    EXPECT_TRUE(paneHas(L"  Shell f: Error: Not a Folder\r\n")) << pane();
    // Past the console's own check: the starter reports the system's reason.
    Win32ProcessStarter starter;
    const std::wstring gone = folder_ / L"gone";
    EXPECT_THROW(starter.startShell(u"cmd /K", std::u16string(gone.begin(), gone.end())), Failure);
}

} // namespace
} // namespace zorlo::win32::testing
