#pragma once

#include "platform/Dialogs.hpp"

#include <windows.h>

namespace zorlo::win32 {

// MessageBoxW for the message and the question, InputBox for the name box;
// all owned by the console window, so they stay in front of it.
class Win32Dialogs : public Dialogs {
  public:
    void setOwner(HWND owner) { owner_ = owner; }

    void messageBox(const Text& text, const Text& title) override;
    bool question(const Text& text, const Text& title) override;
    std::optional<Text> inputBox(const Text& prompt, const Text& title, const Text& defaultText,
                                 int leftTwips, int topTwips) override;

  private:
    HWND owner_ = nullptr;
};

} // namespace zorlo::win32
