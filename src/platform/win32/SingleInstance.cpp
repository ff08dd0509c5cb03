#include "platform/win32/SingleInstance.hpp"

#include <cstdint>
#include <cstdio>

namespace zorlo::win32 {

namespace {

std::wstring propertyName(const std::wstring& key) {
    return L"ZorloConsole." + key;
}

struct Search {
    const std::wstring* property;
    HWND found;
};

BOOL CALLBACK findMarked(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (GetPropW(window, search->property->c_str()) != nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::wstring SingleInstance::folderKey(const std::filesystem::path& folder) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD length =
        GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length + 1);
        length =
            GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length == 0 ? 0 : length);
    if (full.empty()) {
        full = folder.wstring();
    }
    for (auto& c : full) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    while (full.size() > 3 && full.back() == L'\\') {
        full.pop_back();
    }
    if (!full.empty()) {
        CharLowerBuffW(full.data(), static_cast<DWORD>(full.size()));
    }
    // FNV-1a: a short, stable name for kernel objects, which cannot hold backslashes.
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : full) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t text[17];
    std::swprintf(text, 17, L"%016llx", static_cast<unsigned long long>(hash));
    return text;
}

SingleInstance::SingleInstance(const std::filesystem::path& settingsFolder)
    : key_(folderKey(settingsFolder)) {
    mutex_ = CreateMutexW(nullptr, FALSE, (L"Local\\ZorloConsole-" + key_).c_str());
    first_ = mutex_ == nullptr || GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
    if (mutex_ != nullptr) {
        CloseHandle(mutex_);
    }
}

UINT SingleInstance::toggleMessage() {
    static const UINT message = RegisterWindowMessageW(L"ZorloConsole.TogglePress");
    return message;
}

void SingleInstance::claim(HWND window) const {
    SetPropW(window, propertyName(key_).c_str(), reinterpret_cast<HANDLE>(1));
}

HWND SingleInstance::findRunning() const {
    const std::wstring property = propertyName(key_);
    Search search{&property, nullptr};
    EnumWindows(findMarked, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool SingleInstance::toggleRunning(int waitMs) const {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(waitMs > 0 ? waitMs : 0);
    for (;;) {
        if (const HWND window = findRunning()) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            // This start came from the user, so it may take the foreground; pass
            // that right on, or the console could not come to the front.
            AllowSetForegroundWindow(process);
            return PostMessageW(window, toggleMessage(), 0, 0) != FALSE;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(50);
    }
}

} // namespace zorlo::win32
