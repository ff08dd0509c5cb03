#include "ui/win32/Win32TextArea.hpp"

#include "platform/ConsoleEvents.hpp"
#include "platform/win32/WideText.hpp"
#include "ui/win32/ShiftState.hpp"

#include <algorithm>

namespace zorlo::win32 {

namespace {
constexpr int kLeftButton = 1;
}

void Win32TextArea::create(HWND parent, int id, const RECT& pixels) {
    edit_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
        pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    // The pane holds up to 64000 characters plus the line being typed; EDIT's
    // default limit for typing is 32767.
    SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
    SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassProc)));
}

LRESULT CALLBACK Win32TextArea::subclassProc(HWND edit, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = reinterpret_cast<Win32TextArea*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    return self->handle(message, wParam, lParam);
}

LRESULT Win32TextArea::passOn(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(original_, edit_, message, wParam, lParam);
}

LRESULT Win32TextArea::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        const LRESULT result = passOn(message, wParam, lParam);
        edit_ = nullptr;
        return result;
    }
    if (console_ == nullptr) {
        return passOn(message, wParam, lParam);
    }
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        int keyCode = static_cast<int>(wParam);
        console_->textKeyDown(keyCode, shiftFromKeyboard());
        if (keyCode == 0) {
            return 0; // cancelled: EDIT never sees the key
        }
        return passOn(message, static_cast<WPARAM>(keyCode), lParam);
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
        console_->textKeyUp(static_cast<int>(wParam), shiftFromKeyboard());
        return passOn(message, wParam, lParam);
    case WM_LBUTTONUP: {
        // EDIT first ends its mouse selection, so the handler sees the final one.
        const LRESULT result = passOn(message, wParam, lParam);
        console_->textMouseUp(kLeftButton, shiftFromMouseFlags(static_cast<unsigned>(wParam)));
        return result;
    }
    default:
        return passOn(message, wParam, lParam);
    }
}

void Win32TextArea::editChanged() {
    if (ownWrites_ == 0 && console_ != nullptr) {
        console_->textChange();
    }
}

template <class Write> void Win32TextArea::ownWrite(Write write) {
    ++ownWrites_;
    try {
        write();
    } catch (...) {
        --ownWrites_;
        throw;
    }
    --ownWrites_;
    if (console_ != nullptr) {
        console_->textChange();
    }
}

Text Win32TextArea::text() const {
    return windowText(edit_);
}

int Win32TextArea::length() const {
    return GetWindowTextLengthW(edit_);
}

void Win32TextArea::setText(const Text& text) {
    const std::wstring wide = toWide(text);
    ownWrite([&] { SetWindowTextW(edit_, wide.c_str()); });
}

void Win32TextArea::selection(DWORD& start, DWORD& end) const {
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
}

int Win32TextArea::caret() const {
    DWORD start = 0;
    DWORD end = 0;
    selection(start, end);
    return static_cast<int>(start);
}

void Win32TextArea::setCaret(int position) {
    const int at = std::clamp(position, 0, length());
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(at), static_cast<LPARAM>(at));
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

int Win32TextArea::selLength() const {
    DWORD start = 0;
    DWORD end = 0;
    selection(start, end);
    return static_cast<int>(end - start);
}

void Win32TextArea::setSelLength(int length) {
    const int start = caret();
    const int end = start + std::clamp(length, 0, this->length() - start);
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void Win32TextArea::replaceSelection(const Text& text) {
    const std::wstring wide = toWide(text);
    ownWrite(
        [&] { SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str())); });
}

} // namespace zorlo::win32
