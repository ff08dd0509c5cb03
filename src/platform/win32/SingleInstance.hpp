#pragma once

#include "platform/SingleInstance.hpp"

#include <windows.h>

#include <filesystem>
#include <string>

namespace zorlo::win32 {

// The first start owns a named mutex derived from the folder and marks its
// window; a later start for the same folder finds that window and posts it
// toggleMessage(), which acts as one hotkey press.
class SingleInstance : public zorlo::SingleInstance {
  public:
    explicit SingleInstance(const std::filesystem::path& settingsFolder);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool isFirst() const override { return first_; }
    // Marks the window as this folder's console, for later starts to find.
    void claim(HWND window) const;
    // Posts the toggle to the folder's console's window.
    bool toggleRunning(int waitMs) const override;

    static UINT toggleMessage();
    // The same key for the same folder however its name is written (case,
    // separators, a closing backslash).
    static std::wstring folderKey(const std::filesystem::path& folder);

  private:
    HWND findRunning() const;

    std::wstring key_;
    HANDLE mutex_ = nullptr;
    bool first_ = true;
};

} // namespace zorlo::win32
