#pragma once

#include "platform/Applications.hpp"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace zorlo::win32 {

// Reads the Start menu on a thread of its own, at once and again whenever the
// folders change, so the window never waits for the disk. Each new list is
// kept here and `message` posted to `window`; the window's thread then takes
// it. A list not yet taken is replaced by a newer one.
class StartMenuWatch {
  public:
    // Changes closer together than this are one change: an installer writes
    // its shortcuts one by one.
    static constexpr DWORD kSettleMs = 300;

    // Throws std::system_error when no thread can be started.
    StartMenuWatch(std::vector<std::filesystem::path> folders, HWND window, UINT message);
    // Stops the thread, cutting a read short.
    ~StartMenuWatch();
    StartMenuWatch(const StartMenuWatch&) = delete;
    StartMenuWatch& operator=(const StartMenuWatch&) = delete;

    // The newest list, once; nothing when there is none since the last take.
    std::optional<std::vector<Application>> take();

  private:
    void run();
    void publish(std::vector<Application> list);
    // After a change, waits until the folders are quiet; false when stopped.
    bool settle(const std::vector<HANDLE>& handles);

    std::vector<std::filesystem::path> folders_;
    HWND window_;
    UINT message_;
    HANDLE stop_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::optional<std::vector<Application>> ready_;
    std::thread thread_;
};

} // namespace zorlo::win32
