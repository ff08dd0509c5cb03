#include "platform/win32/Win32FileSystem.hpp"

#include "platform/win32/WideText.hpp"
#include "platform/win32/Win32Error.hpp"
#include "text/Failure.hpp"

#include <windows.h>

namespace zorlo::win32 {

namespace {

[[noreturn]] void fail(const std::filesystem::path& file, DWORD code) {
    throw Failure(describeError(code) + u": " + fromWide(file.filename().wstring()));
}

// Creates the file only when the name is free (CREATE_NEW), never through a
// link or junction already there, writes and flushes it to the disk.
// Returns false when the name is taken; throws on any other failure, the
// half-made file removed, naming `reported`.
bool writeNewFile(const std::filesystem::path& file, const std::string& bytes,
                  const std::filesystem::path& reported) {
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) {
            return false;
        }
        fail(reported, code);
    }
    DWORD code = ERROR_SUCCESS;
    std::size_t done = 0;
    while (done < bytes.size() && code == ERROR_SUCCESS) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr)) {
            code = GetLastError();
        }
        done += written;
    }
    if (code == ERROR_SUCCESS && !FlushFileBuffers(handle)) {
        code = GetLastError();
    }
    CloseHandle(handle);
    if (code != ERROR_SUCCESS) {
        DeleteFileW(file.c_str());
        fail(reported, code);
    }
    return true;
}

} // namespace

bool Win32FileSystem::folderExists(const Text& path) const {
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void Win32FileSystem::replaceFile(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::path tmp;
    bool created = false;
    for (int attempt = 0; attempt < 4 && !created; ++attempt) {
        tmp = temporaryNameBeside(file);
        created = writeNewFile(tmp, bytes, file);
    }
    if (!created) {
        fail(file, ERROR_FILE_EXISTS);
    }
    // Write-through: the rename is on the disk when the call returns.
    if (!MoveFileExW(tmp.c_str(), file.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        DeleteFileW(tmp.c_str());
        fail(file, code);
    }
}

bool Win32FileSystem::createFile(const std::filesystem::path& file, const std::string& bytes) {
    return writeNewFile(file, bytes, file);
}

} // namespace zorlo::win32
