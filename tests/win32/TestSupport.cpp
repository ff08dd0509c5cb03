#include "TestSupport.hpp"

#include "ui/win32/InputBox.hpp"

#include <map>
#include <shobjidl.h>
#include <stdexcept>

namespace zorlo::win32::testing {

TempFolder::TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}

TempFolder::TempFolder(const std::filesystem::path& parent) {
    static unsigned counter = 0;
    path_ = parent / (L"zorlo-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                      std::to_wstring(++counter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path programFolder() {
    wchar_t file[MAX_PATH];
    GetModuleFileNameW(nullptr, file, MAX_PATH);
    return std::filesystem::path(file).parent_path();
}

std::wstring windowText(HWND window) {
    const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void makeShortcut(const std::filesystem::path& shortcut, const std::filesystem::path& target) {
    std::filesystem::create_directories(shortcut.parent_path());
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    const bool saved =
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->SetPath(target.c_str())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Save(shortcut.c_str(), TRUE));
    for (IUnknown* held : {static_cast<IUnknown*>(file), static_cast<IUnknown*>(link)}) {
        if (held != nullptr) {
            held->Release();
        }
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    if (!saved) {
        throw std::runtime_error("no shortcut made");
    }
}

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void typeText(HWND window, std::wstring_view text) {
    for (const wchar_t c : text) {
        const SHORT scan = VkKeyScanW(c);
        const WPARAM key = scan == -1 ? 0 : LOBYTE(scan);
        SendMessageW(window, WM_KEYDOWN, key, 1);
        SendMessageW(window, WM_CHAR, c, 1);
        SendMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
}

void pressKey(HWND window, UINT virtualKey) {
    SendMessageW(window, WM_KEYDOWN, virtualKey, 1);
    if (virtualKey == VK_RETURN || virtualKey == VK_ESCAPE) {
        SendMessageW(window, WM_CHAR, virtualKey == VK_RETURN ? L'\r' : L'\x1b', 1);
    }
    SendMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
}

namespace {

std::map<UINT_PTR, WindowWatch*> watches;

std::wstring className(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

} // namespace

WindowWatch::WindowWatch(std::function<bool(HWND)> match, std::function<void(HWND)> action)
    : match_(std::move(match)), action_(std::move(action)) {
    timer_ = SetTimer(nullptr, 0, 20, &tick);
    watches[timer_] = this;
}

WindowWatch::~WindowWatch() {
    if (!fired_) {
        KillTimer(nullptr, timer_);
        watches.erase(timer_);
    }
}

void CALLBACK WindowWatch::tick(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = watches.find(id);
    HWND window = nullptr;
    while (found != watches.end() && (window = FindWindowExW(nullptr, window, nullptr, nullptr))) {
        WindowWatch& watch = *found->second;
        if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId() &&
            IsWindowVisible(window) && watch.match_(window)) {
            KillTimer(nullptr, id);
            watches.erase(found);
            watch.fired_ = true;
            watch.action_(window);
            return;
        }
    }
}

std::function<bool(HWND)> windowTitled(std::wstring name, std::wstring title) {
    return [name, title](HWND window) {
        return className(window) == name && windowText(window) == title;
    };
}

std::wstring staticTexts(HWND window) {
    std::wstring texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM context) -> BOOL {
            if (_wcsicmp(className(child).c_str(), L"Static") == 0) {
                *reinterpret_cast<std::wstring*>(context) += windowText(child) + L"\n";
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::function<bool(HWND)> dialogShowing(std::wstring text) {
    return [text](HWND window) {
        return className(window) == L"#32770" &&
               staticTexts(window).find(text) != std::wstring::npos;
    };
}

std::function<bool(HWND)> nameBox() {
    return [](HWND window) {
        return className(window) == L"#32770" && GetDlgItem(window, InputBox::kEntryId) != nullptr;
    };
}

} // namespace zorlo::win32::testing
