#pragma once

#include "text/Text.hpp"

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

} // namespace zorlo::win32
