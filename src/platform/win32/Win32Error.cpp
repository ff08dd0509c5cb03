#include "platform/win32/Win32Error.hpp"

#include "platform/win32/WideText.hpp"

#include <cstdio>

namespace zorlo::win32 {

namespace {

Text hexCode(unsigned long code) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "Error 0x%08lX", code);
    return fromUtf8(buffer);
}

} // namespace

Text describeError(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) {
        return hexCode(code);
    }
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return text.empty() ? hexCode(code) : fromWide(text);
}

Text describeResult(HRESULT result) {
    if (HRESULT_FACILITY(result) == FACILITY_WIN32) {
        return describeError(HRESULT_CODE(result));
    }
    return describeError(static_cast<DWORD>(result));
}

} // namespace zorlo::win32
