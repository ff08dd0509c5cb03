#include "platform/win32/StartMenuWatch.hpp"

#include "platform/win32/StartMenu.hpp"

#include <objbase.h>

#include <exception>
#include <utility>

namespace zorlo::win32 {

namespace {

constexpr DWORD kWatched =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;
// A folder that never rests (a busy installer) is still read this often.
constexpr DWORD kLongestSettleMs = 3000;

} // namespace

StartMenuWatch::StartMenuWatch(std::vector<std::filesystem::path> folders, HWND window,
                               UINT message)
    : folders_(std::move(folders)), window_(window), message_(message),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    try {
        thread_ = std::thread([this] { run(); });
    } catch (...) {
        CloseHandle(stop_);
        throw;
    }
}

StartMenuWatch::~StartMenuWatch() {
    stopping_ = true;
    SetEvent(stop_);
    thread_.join();
    CloseHandle(stop_);
}

std::optional<std::vector<Application>> StartMenuWatch::take() {
    const std::lock_guard lock(mutex_);
    return std::exchange(ready_, std::nullopt);
}

void StartMenuWatch::publish(std::vector<Application> list) {
    {
        const std::lock_guard lock(mutex_);
        ready_ = std::move(list);
    }
    PostMessageW(window_, message_, 0, 0);
}

bool StartMenuWatch::settle(const std::vector<HANDLE>& handles) {
    const ULONGLONG started = GetTickCount64();
    for (;;) {
        const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()),
                                                    handles.data(), FALSE, kSettleMs);
        if (result == WAIT_OBJECT_0) {
            return false;
        }
        if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + handles.size()) {
            FindNextChangeNotification(handles[result - WAIT_OBJECT_0]);
        }
        if (result == WAIT_TIMEOUT || result == WAIT_FAILED ||
            GetTickCount64() - started >= kLongestSettleMs) {
            return true;
        }
    }
}

void StartMenuWatch::run() {
    // The index is a convenience: it yields to the window and to typing.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    // Watching starts before the first read, so a change during it is not missed.
    std::vector<HANDLE> handles{stop_};
    for (const auto& folder : folders_) {
        const HANDLE change = FindFirstChangeNotificationW(folder.c_str(), TRUE, kWatched);
        if (change != INVALID_HANDLE_VALUE) {
            handles.push_back(change);
        }
    }
    for (;;) {
        try {
            auto list = readStartMenu(folders_, &stopping_);
            if (stopping_) {
                break;
            }
            publish(std::move(list));
        } catch (const std::exception&) {
            // Out of memory while reading: the console keeps the list it has.
        }
        const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()),
                                                    handles.data(), FALSE, INFINITE);
        if (result <= WAIT_OBJECT_0 || result >= WAIT_OBJECT_0 + handles.size()) {
            break; // stopped, or the wait itself failed
        }
        FindNextChangeNotification(handles[result - WAIT_OBJECT_0]);
        if (!settle(handles)) {
            break;
        }
    }
    for (std::size_t i = 1; i < handles.size(); ++i) {
        FindCloseChangeNotification(handles[i]);
    }
    if (com) {
        CoUninitialize();
    }
}

} // namespace zorlo::win32
