#pragma once

#include "platform/ConsoleWindow.hpp"

namespace zorlo {

// The capture window in twips: its client area and its one label. Wider than
// first designed, so that a title bar with its buttons still shows the
// window's title whole.
inline constexpr int kCaptureClientWidth = 3600;
inline constexpr int kCaptureClientHeight = 720;
inline constexpr Rect kCaptureLabel{150, 225, 3300, 270};

class HotkeyCapture;

// The small "Zorlo Hotkey" window that records the next key. While shown it
// forwards each key-down to capture.formKeyDown(virtualKey, shift), and a close
// by the user (without a key) to capture.formClosed().
class CaptureWindow {
  public:
    virtual ~CaptureWindow() = default;
    virtual void show(HotkeyCapture& capture, int leftTwips, int topTwips) = 0;
    virtual void close() = 0;
};

} // namespace zorlo
