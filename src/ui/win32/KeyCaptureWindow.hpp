#pragma once

#include "platform/CaptureWindow.hpp"
#include "ui/win32/OwnedWindow.hpp"

#include <windows.h>

namespace zorlo::win32 {

// frmKey: the small "Zorlo Hotkey" window that shows "Press Hotkey" and hands
// every key that goes down in it to the capture logic.
class KeyCaptureWindow : public CaptureWindow {
  public:
    static constexpr const wchar_t* kClassName = L"ZorloHotkeyWindow";
    static constexpr const wchar_t* kCaption = L"Zorlo Hotkey";

    KeyCaptureWindow() = default;
    ~KeyCaptureWindow() override;
    KeyCaptureWindow(const KeyCaptureWindow&) = delete;
    KeyCaptureWindow& operator=(const KeyCaptureWindow&) = delete;

    void setOwner(HWND owner) { owner_ = owner; }
    HWND handle() const { return window_; }

    void show(HotkeyCapture& capture, int leftTwips, int topTwips) override;
    void close() override;

  private:
    friend LRESULT CALLBACK ownedWindowProc<KeyCaptureWindow>(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HotkeyCapture* capture_ = nullptr;
};

} // namespace zorlo::win32
