#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zorlo::win32 {

// The one-line name box: a modal dialog built from an in-memory template, with
// a prompt, OK and Cancel on the right and the entry field below.
class InputBox {
  public:
    static constexpr int kPromptId = 100;
    static constexpr int kEntryId = 101;

    // left/top: the box's screen place in pixels; below 0 centres it across
    // and a third of the way down the screen. nullopt when cancelled.
    static std::optional<std::wstring> show(HWND owner, const std::wstring& prompt,
                                            const std::wstring& title,
                                            const std::wstring& defaultText, int left, int top);
};

} // namespace zorlo::win32
