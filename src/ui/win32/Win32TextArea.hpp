#pragma once

#include "platform/TextArea.hpp"

#include <windows.h>

namespace zorlo {
class ConsoleEvents;
}

namespace zorlo::win32 {

// txtCLI: a multi-line EDIT control. Its key, mouse and change events go to the
// console's event procedures. EDIT keeps line breaks as CR LF, as the engine
// does, so caret positions pass through unchanged.
class Win32TextArea : public TextArea {
  public:
    Win32TextArea() = default;
    Win32TextArea(const Win32TextArea&) = delete;
    Win32TextArea& operator=(const Win32TextArea&) = delete;

    void create(HWND parent, int id, const RECT& pixels);
    void attach(ConsoleEvents* console) { console_ = console; }
    HWND handle() const { return edit_; }
    // The parent's EN_CHANGE notification.
    void editChanged();

    Text text() const override;
    int length() const override;
    void setText(const Text& text) override;
    int caret() const override;
    void setCaret(int position) override;
    int selLength() const override;
    void setSelLength(int length) override;
    void replaceSelection(const Text& text) override;

  private:
    static LRESULT CALLBACK subclassProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT passOn(UINT message, WPARAM wParam, LPARAM lParam);
    void selection(DWORD& start, DWORD& end) const;
    // Runs a write of the program's own and then the change handling exactly
    // once: EDIT's own EN_CHANGE for it is ignored (a multi-line EDIT sends
    // none at all for WM_SETTEXT).
    template <class Write> void ownWrite(Write write);

    HWND edit_ = nullptr;
    WNDPROC original_ = nullptr;
    ConsoleEvents* console_ = nullptr;
    int ownWrites_ = 0;
};

} // namespace zorlo::win32
