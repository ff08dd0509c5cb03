#include "TestSupport.hpp"
#include "launch/ArgumentText.hpp"
#include "platform/win32/StartMenu.hpp"
#include "platform/win32/WideText.hpp"
#include "platform/win32/Win32ProcessStarter.hpp"
#include "store/FileIo.hpp"
#include "text/Failure.hpp"

#include <tlhelp32.h>
#include <winternl.h>

namespace zorlo::win32::testing {
namespace {

// Runs `launch` with ZORLO_MARKER naming the report file, and returns what
// marker.exe wrote there ("cwd=...", then "arg=..." lines) once it is there;
// empty when nothing came within ten seconds.
std::wstring runMarker(const std::filesystem::path& report, const std::function<void()>& launch) {
    SetEnvironmentVariableW(L"ZORLO_MARKER", report.c_str());
    launch();
    std::string bytes;
    waitUntil(
        [&] {
            try {
                bytes = readFileBytes(report).value_or("");
            } catch (const Failure&) { // wine's rename may still hold the file a moment
            }
            return !bytes.empty();
        },
        10000);
    SetEnvironmentVariableW(L"ZORLO_MARKER", nullptr);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

// The head of RTL_USER_PROCESS_PARAMETERS, which winternl.h leaves opaque.
struct ProcessParametersHead {
    ULONG maximumLength, length, flags, debugFlags;
    HANDLE consoleHandle;
    ULONG consoleFlags;
    HANDLE standardInput, standardOutput, standardError;
    UNICODE_STRING currentFolder;
    HANDLE currentFolderHandle;
    UNICODE_STRING dllPath, imagePath, commandLine;
};

std::wstring remoteString(HANDLE process, const UNICODE_STRING& text) {
    std::wstring value(text.Length / sizeof(wchar_t), L'\0');
    return ReadProcessMemory(process, text.Buffer, value.data(), text.Length, nullptr) ? value
                                                                                       : L"";
}

// What a running process was started with, read from its process parameters
// once they are normalised: their strings hold offsets until then.
struct ProcessView {
    std::wstring commandLine;
    std::wstring currentFolder;
};

std::optional<ProcessView> inspectProcess(DWORD processId) {
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return std::nullopt;
    }
    std::optional<ProcessView> view;
    PROCESS_BASIC_INFORMATION basic{};
    PEB peb{};
    ProcessParametersHead head{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                  nullptr) == 0 &&
        ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) &&
        ReadProcessMemory(process, peb.ProcessParameters, &head, sizeof head, nullptr) &&
        (head.flags & 1) != 0) {
        view = ProcessView{remoteString(process, head.commandLine),
                           remoteString(process, head.currentFolder)};
    }
    CloseHandle(process);
    return view;
}

// The command prompts this process has started.
std::vector<DWORD> startedPrompts() {
    std::vector<DWORD> found;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId() &&
            _wcsicmp(entry.szExeFile, L"cmd.exe") == 0) {
            found.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return found;
}

// The shortcut itself is opened, with the words quoted as a macro's launch
// quotes them, in the folder given; a shortcut that is gone is code 2.
TEST(StartMenu, LaunchOpensTheShortcutWithTheWords) {
    TempFolder folder;
    const std::wstring shortcut = folder / L"Marker.lnk";
    makeShortcut(shortcut, programFolder() / L"marker.exe");
    Win32Applications apps(&launchArgument);
    Application app{u"Marker", {}, u"", fromWide(shortcut)};
    const Text here = fromWide(folder.path().wstring());
    const std::wstring report = runMarker(folder / L"marker.txt", [&] {
        EXPECT_GT(apps.launch(app, {u"alpha", u"two words", u"C:\\my folder\\"}, here), 32);
    });
    EXPECT_EQ(report, L"cwd=" + folder.path().wstring() +
                          L"\narg=alpha\narg=two words\narg=C:\\my folder\\\n");
    app.key = fromWide(folder / L"Gone.lnk");
    EXPECT_EQ(apps.launch(app, {}, here), 2);
}

// A macro starts its program with the words in the program's folder. A
// shortcut put in the Start menu while the console runs: `apps` lists it once
// the menu is read again, and its name launches it with the words in the
// console's own folder.
TEST_F(ConsoleTest, MacrosAndStartMenuShortcutsStartTheirPrograms) {
    const std::wstring marker = (programFolder() / L"marker.exe").wstring();
    enter(L"macro mark " + marker);
    EXPECT_EQ(runMarker(folder_ / L"macro.txt", [&] { enter(L"mark alpha beta"); }),
              L"cwd=" + programFolder().wstring() + L"\narg=alpha\narg=beta\n");

    TempFolder menu(startMenuFolders().front());
    makeShortcut(menu.path() / L"Nested" / L"ZorloMarker.lnk", marker);
    const std::wstring listed = L"  ZorloMarker (" + marker + L")\r\n";
    for (int tries = 0; tries < 50 && !paneHas(listed); ++tries) {
        waitUntil([] { return false; }, 200);
        enter(L"apps zorlom");
    }
    ASSERT_TRUE(paneHas(listed)) << pane();
    const std::wstring report =
        runMarker(folder_ / L"marker.txt", [&] { enter(L"zorlomarker alpha \"two words\""); });
    std::wstring here(MAX_PATH, L'\0');
    here.resize(GetCurrentDirectoryW(MAX_PATH, here.data()));
    EXPECT_EQ(report, L"cwd=" + here + L"\narg=alpha\narg=two words\n");
}

// The prompt opens in the folder; a folder that is gone is refused with the
// system's reason.
TEST_F(ConsoleTest, ShellCommandOpensCmdInTheMacrosFolder) {
    enter(L"macro proj " + folder_.path().wstring());
    enter(L"shell proj");
    std::vector<DWORD> started;
    ASSERT_TRUE(waitUntil([&] { return !(started = startedPrompts()).empty(); }));
    std::optional<ProcessView> view;
    EXPECT_TRUE(waitUntil([&] { return (view = inspectProcess(started.front())).has_value(); }));
    for (const DWORD id : started) {
        if (const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
            TerminateProcess(process, 0);
            CloseHandle(process);
        }
    }
    ASSERT_TRUE(view.has_value());
    // The system keeps the current folder with a closing backslash.
    EXPECT_EQ(_wcsicmp(view->currentFolder.c_str(), (folder_.path().wstring() + L"\\").c_str()), 0)
        << view->currentFolder;
    EXPECT_EQ(view->commandLine, L"cmd.exe /K");
    Win32ProcessStarter starter;
    EXPECT_THROW(starter.startShell(u"cmd /K", fromWide(folder_ / L"gone")), Failure);
}

} // namespace
} // namespace zorlo::win32::testing
