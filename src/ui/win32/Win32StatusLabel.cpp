#include "ui/win32/Win32StatusLabel.hpp"

#include "platform/win32/WideText.hpp"

#include <algorithm>

namespace zorlo::win32 {

void Win32StatusLabel::create(HWND parent, int id, const RECT& pixels) {
    label_ = CreateWindowExW(
        0, L"STATIC", L"Label1", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, pixels.left,
        pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

Text Win32StatusLabel::caption() const {
    return windowText(label_);
}

void Win32StatusLabel::setCaption(const Text& caption) {
    SetWindowTextW(label_, toWide(caption).c_str());
}

} // namespace zorlo::win32
