#include "platform/win32/SettingsFolder.hpp"

#include "platform/win32/Win32FileSystem.hpp"

#include <windows.h>

#include <shlobj.h>
#include <string>

namespace zorlo::win32 {

std::filesystem::path executableFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool isWritableFolder(const std::filesystem::path& folder) {
    const std::filesystem::path probe =
        folder / (L".zorlo-write-probe-" + std::to_wstring(GetCurrentProcessId()));
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

std::filesystem::path chooseSettingsFolder(const std::filesystem::path& executableFolder,
                                           const std::filesystem::path& appDataFolder) {
    // Another user could plant links or macros in a folder they can write:
    // it is passed over as one that cannot be written is.
    if ((isWritableFolder(executableFolder) && !othersCanWrite(executableFolder)) ||
        appDataFolder.empty()) {
        return executableFolder;
    }
    const auto folder = appDataFolder / L"Zorlo";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    // Neither place is writable: stay beside the executable, where the macros of
    // a portable copy are, and let the saves report what goes wrong.
    return isWritableFolder(folder) ? folder : executableFolder;
}

std::filesystem::path settingsFolder() {
    wchar_t appData[MAX_PATH];
    std::filesystem::path appDataFolder;
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) {
        appDataFolder = appData;
    }
    return chooseSettingsFolder(executableFolder(), appDataFolder);
}

} // namespace zorlo::win32
