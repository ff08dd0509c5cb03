// zorlo.exe itself, started as its own process and driven from outside through
// its windows' messages, as another program (or a second start) sees it.

#include "TestSupport.hpp"
#include "store/FileIo.hpp"

#include <shellapi.h>

namespace zorlo::win32::testing {
namespace {

constexpr DWORD kStartMs = 15000;

// One started zorlo.exe.
class Started {
  public:
    explicit Started(const std::filesystem::path& exe) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
        const std::wstring folder = exe.parent_path().wstring();
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &process_)) {
            process_ = {};
        }
    }
    ~Started() {
        if (process_.hProcess != nullptr) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 99);
            }
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }
    Started(const Started&) = delete;

    // A visible window of the class that belongs to the program, once one is
    // up; nullptr when none came up.
    HWND visible(const wchar_t* className) {
        HWND found = nullptr;
        waitUntil(
            [&] {
                while ((found = FindWindowExW(nullptr, found, className, nullptr))) {
                    DWORD process = 0;
                    GetWindowThreadProcessId(found, &process);
                    if (process == process_.dwProcessId && IsWindowVisible(found)) {
                        return true;
                    }
                }
                return false;
            },
            kStartMs);
        return found;
    }
    HWND window() { return visible(L"ZorloConsoleWindow"); }
    HWND edit() { return FindWindowExW(window(), nullptr, L"Edit", nullptr); }
    void enter(std::wstring_view line) {
        const HWND box = edit();
        typeText(box, line);
        pressKey(box, VK_RETURN);
    }
    // The exit code once the process has ended; nullopt while it runs on.
    std::optional<DWORD> exitCode(DWORD waitMs) {
        if (WaitForSingleObject(process_.hProcess, waitMs) != WAIT_OBJECT_0) {
            return std::nullopt;
        }
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION process_{};
};

// A copy of zorlo.exe in a folder of its own, which becomes its settings folder.
std::filesystem::path install(const TempFolder& folder) {
    const auto exe = folder.path() / L"zorlo.exe";
    std::filesystem::copy_file(programFolder() / L"zorlo.exe", exe);
    return exe;
}

TEST(Program, SessionEndSavesWhatWasTypedAndEnds) {
    enum class Before { OpenABox, BlockTheList, CloseWithTheListBlocked };
    const struct {
        Before before;
        DWORD exitCode;
    } cases[] = {
        // The question of the interrupted command is never answered, and the
        // command never goes on to ask for a name.
        {Before::OpenABox, 0},
        {Before::BlockTheList, 1},
        // The close's save failed and its question waits: the saving is done.
        {Before::CloseWithTheListBlocked, 1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(static_cast<int>(test.before));
        TempFolder folder;
        const auto exe = install(folder);
        Started zorlo(exe);
        const HWND console = zorlo.window();
        ASSERT_NE(console, nullptr);
        zorlo.enter(L"macro docs c:\\docs");
        switch (test.before) {
        case Before::OpenABox:
            typeText(zorlo.edit(), L"nosuchprogram www.example.com/page");
            PostMessageW(zorlo.edit(), WM_KEYDOWN, VK_RETURN, 1);
            PostMessageW(zorlo.edit(), WM_CHAR, L'\r', 1);
            ASSERT_NE(zorlo.visible(L"#32770"), nullptr); // a message box
            break;
        case Before::BlockTheList:
        case Before::CloseWithTheListBlocked:
            std::filesystem::create_directory(folder.path() / L"zorlo.list");
            if (test.before == Before::CloseWithTheListBlocked) {
                PostMessageW(console, WM_CLOSE, 0, 0);
                ASSERT_NE(zorlo.visible(L"#32770"), nullptr);
            }
            break;
        }
        // The system's log off: the console is asked whether the session may
        // end, then told that it ends; the program ends inside the second message.
        DWORD_PTR mayEnd = 0;
        SendMessageTimeoutW(console, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                            5000, &mayEnd);
        EXPECT_EQ(mayEnd, DWORD_PTR(TRUE));
        SendMessageTimeoutW(console, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                            nullptr);
        EXPECT_EQ(zorlo.exitCode(5000), std::optional<DWORD>(test.exitCode));
        if (test.exitCode == 0) {
            const auto list = readFileBytes(folder.path() / L"zorlo.list").value_or("");
            EXPECT_NE(list.find("c:\\docs"), std::string::npos) << list;
            EXPECT_EQ(list.find("example"), std::string::npos) << list;
        }
    }
}

// A second start toggles the console of its folder and ends; a start in
// another folder is a console of its own. `exit` and the close box end each.
TEST(Program, SecondStartTogglesTheConsoleOfItsFolderOnly) {
    TempFolder folderA;
    TempFolder folderB;
    const auto exeA = install(folderA);
    const auto exeB = install(folderB);
    Started first(exeA);
    const HWND console = first.window();
    ASSERT_NE(console, nullptr);
    // A successful launch hides the console (autohide is on by default).
    first.enter(L"!" + (programFolder() / L"marker.exe").wstring());
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(console); }));

    Started second(exeA);
    EXPECT_EQ(second.exitCode(kStartMs), std::optional<DWORD>(0));
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(console) != FALSE; }));

    Started elsewhere(exeB);
    const HWND other = elsewhere.window();
    EXPECT_NE(other, nullptr);
    EXPECT_NE(other, console);
    EXPECT_FALSE(elsewhere.exitCode(0).has_value());
    PostMessageW(other, WM_CLOSE, 0, 0);
    EXPECT_EQ(elsewhere.exitCode(5000), std::optional<DWORD>(0));
    first.enter(L"exit");
    EXPECT_EQ(first.exitCode(5000), std::optional<DWORD>(0));
}

TEST(Program, CarriesItsVersionAndIcon) {
    const std::wstring exe = (programFolder() / L"zorlo.exe").wstring();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 2));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), 3);
    wchar_t* product = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                               reinterpret_cast<void**>(&product), &length));
    EXPECT_EQ(std::wstring(product), L"2.2.3");
    EXPECT_GE(ExtractIconExW(exe.c_str(), -1, nullptr, nullptr, 0), 1u);
}

} // namespace
} // namespace zorlo::win32::testing
