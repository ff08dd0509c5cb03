#include "ConsoleFixture.hpp"
#include "platform/win32/Win32ProcessStarter.hpp"
#include "platform/win32/Win32Shell.hpp"
#include "text/Failure.hpp"

#include <algorithm>

namespace zorlo::win32::testing {
namespace {

constexpr auto npos = std::wstring::npos;

std::wstring withoutClosingBackslash(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

bool samePath(const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(withoutClosingBackslash(a).c_str(), withoutClosingBackslash(b).c_str()) == 0;
}

// Runs while the cmd.exe processes it finds are open, and ends them afterwards.
std::vector<DWORD> newProcesses(const std::vector<DWORD>& before, const std::wstring& exe) {
    std::vector<DWORD> found;
    for (const DWORD id : processesNamed(exe)) {
        if (std::find(before.begin(), before.end(), id) == before.end()) {
            found.push_back(id);
        }
    }
    return found;
}

void endProcess(DWORD id) {
    if (const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
        TerminateProcess(process, 0);
        CloseHandle(process);
    }
}

TEST_F(ConsoleTest, MacroStartsTheProgramWithItsArgumentsInItsFolder) {
    const std::wstring marker = (programFolder() / L"marker.exe").wstring();
    const std::wstring report = folder_ / L"marker.txt";
    SetEnvironmentVariableW(L"ZORLO_MARKER", report.c_str());
    enter(L"macro mark " + marker);
    enter(L"mark alpha beta");
    EXPECT_NE(pane().find(L"  Execute mark: Success\r\n"), npos) << pane();
    EXPECT_FALSE(IsWindowVisible(window())); // autohide after a launch
    std::wstring written;
    ASSERT_TRUE(waitUntil([&] { return !(written = readFile(report)).empty(); }, 10000));
    ASSERT_EQ(written.rfind(L"cwd=", 0), 0u) << written;
    const auto cwd = written.substr(4, written.find(L'\n') - 4);
    EXPECT_TRUE(samePath(cwd, programFolder().wstring())) << written;
    EXPECT_NE(written.find(L"\narg=alpha\narg=beta\n"), npos) << written;
    SetEnvironmentVariableW(L"ZORLO_MARKER", nullptr);
}

TEST_F(ConsoleTest, MissingFileIsReportedWithCodeTwosText) {
    const std::wstring missing = folder_ / L"missing.exe";
    Win32Shell shell;
    EXPECT_EQ(shell.open(std::u16string(missing.begin(), missing.end()), u"", u"\\"), 2);
    enter(L"!" + missing);
    EXPECT_NE(pane().find(L"  Execute Literal: Failed " + missing +
                          L"\r\n  (The specified file was not found.)\r\n"),
              npos)
        << pane();
    EXPECT_TRUE(IsWindowVisible(window()));
}

TEST_F(ConsoleTest, ShellCommandOpensCmdInTheMacrosFolder) {
    const auto before = processesNamed(L"cmd.exe");
    enter(L"macro proj " + folder_.path().wstring());
    enter(L"shell proj");
    EXPECT_NE(pane().find(L"  Shell open\r\n"), npos) << pane();
    EXPECT_FALSE(IsWindowVisible(window())); // autohide
    std::vector<DWORD> started;
    ASSERT_TRUE(waitUntil([&] { return !(started = newProcesses(before, L"cmd.exe")).empty(); }));
    std::optional<ProcessView> view;
    EXPECT_TRUE(waitUntil([&] { return (view = inspectProcess(started.front())).has_value(); }));
    for (const DWORD id : started) {
        endProcess(id);
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
    EXPECT_NE(pane().find(L"  Shell f: Error: Not a Folder\r\n"), npos) << pane();
    // Past the console's own check: the starter reports the system's reason.
    Win32ProcessStarter starter;
    const std::wstring gone = folder_ / L"gone";
    EXPECT_THROW(starter.startShell(u"cmd /K", std::u16string(gone.begin(), gone.end())), Failure);
}

} // namespace
} // namespace zorlo::win32::testing
