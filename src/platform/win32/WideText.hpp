#pragma once

#include "text/Text.hpp"

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace zorlo::win32 {

// wchar_t is a UTF-16 unit on Windows, the same unit as engine text, so the
// conversion is a plain copy and caret positions stay valid.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring toWide(TextView text) {
    return std::wstring(text.begin(), text.end());
}
inline Text fromWide(std::wstring_view text) {
    return Text(text.begin(), text.end());
}

// The whole text of a window or control, read straight into engine text.
inline Text windowText(HWND window) {
    Text text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()),
                                      static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

} // namespace zorlo::win32
