// A stand-in for a launched program: writes the folder it was started in and
// its arguments to the file named by ZORLO_MARKER, one per line.

#include <windows.h>

#include <cwchar>
#include <shellapi.h>
#include <string>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    const wchar_t* target = _wgetenv(L"ZORLO_MARKER");
    if (target == nullptr) {
        return 2;
    }
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring report = std::wstring(L"cwd=") + folder + L"\n";
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i) {
        report += std::wstring(L"arg=") + arguments[i] + L"\n";
    }
    LocalFree(arguments);
    // Written beside and renamed, so a reader never sees half a report.
    const std::wstring partial = std::wstring(target) + L".part";
    const HANDLE file =
        CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    DWORD written = 0;
    WriteFile(file, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
    return MoveFileExW(partial.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
