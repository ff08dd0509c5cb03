#include "platform/win32/Win32FileSystem.hpp"

#include "platform/win32/WideText.hpp"

#include <windows.h>

namespace zorlo::win32 {

bool Win32FileSystem::folderExists(const Text& path) const {
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace zorlo::win32
