#include "platform/win32/Win32Shell.hpp"

#include "platform/win32/WideText.hpp"

#include <windows.h>

#include <shellapi.h>

namespace zorlo::win32 {

long Win32Shell::open(const Text& file, const Text& parameters, const Text& directory) {
    const std::wstring wideFile = toWide(file);
    const std::wstring wideParameters = toWide(parameters);
    const std::wstring wideDirectory = toWide(directory);
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", wideFile.c_str(),
                      wideParameters.empty() ? nullptr : wideParameters.c_str(),
                      wideDirectory.empty() ? nullptr : wideDirectory.c_str(), SW_SHOWNORMAL);
    return static_cast<long>(reinterpret_cast<INT_PTR>(result));
}

} // namespace zorlo::win32
