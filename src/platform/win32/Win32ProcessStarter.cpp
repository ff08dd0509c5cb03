#include "platform/win32/Win32ProcessStarter.hpp"

#include "platform/win32/WideText.hpp"
#include "platform/win32/Win32Error.hpp"
#include "text/Failure.hpp"

#include <windows.h>

namespace zorlo::win32 {

long Win32ProcessStarter::startShell(const Text& /*commandLine*/, const Text& folder) {
    // The full path keeps a cmd.exe planted in the current folder from being run.
    wchar_t systemFolder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(systemFolder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        throw Failure(describeError(GetLastError()));
    }
    const std::wstring interpreter = std::wstring(systemFolder, length) + L"\\cmd.exe";
    std::wstring arguments = L"cmd.exe /K"; // CreateProcessW may write into this buffer
    const std::wstring workingFolder = toWide(folder);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(interpreter.c_str(), arguments.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE, nullptr, workingFolder.c_str(), &startup, &process)) {
        throw Failure(describeError(GetLastError()));
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(process.dwProcessId);
}

} // namespace zorlo::win32
