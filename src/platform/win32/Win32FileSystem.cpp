#include "platform/win32/Win32FileSystem.hpp"

#include "platform/win32/WideText.hpp"
#include "platform/win32/Win32Error.hpp"
#include "text/Failure.hpp"

#include <windows.h>

#include <aclapi.h>
#include <memory>
#include <string>

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

// The folder a name lives in; "." for a bare name.
std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Rights on a folder that let someone put a file, a link or a junction in it,
// or take it over: adding files or folders, removing entries, changing who
// may do so.
constexpr ACCESS_MASK plantingRights = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD |
                                       WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

// The accounts trusted with the settings folder: the user, and those who
// could take any file of theirs anyway (the system, administrators).
class TrustedAccounts {
  public:
    TrustedAccounts() {
        HANDLE token = nullptr;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
            DWORD size = 0;
            GetTokenInformation(token, TokenUser, nullptr, 0, &size);
            user_.resize(size);
            if (size == 0 || !GetTokenInformation(token, TokenUser, user_.data(), size, &size)) {
                user_.clear();
            }
            CloseHandle(token);
        }
        DWORD size = sizeof system_;
        CreateWellKnownSid(WinLocalSystemSid, nullptr, system_, &size);
        size = sizeof administrators_;
        CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators_, &size);
    }

    bool trusts(PSID sid) const {
        if (!user_.empty() &&
            EqualSid(sid, reinterpret_cast<const TOKEN_USER*>(user_.data())->User.Sid)) {
            return true;
        }
        return EqualSid(sid, const_cast<BYTE*>(system_)) ||
               EqualSid(sid, const_cast<BYTE*>(administrators_));
    }

  private:
    std::string user_;
    BYTE system_[SECURITY_MAX_SID_SIZE] = {};
    BYTE administrators_[SECURITY_MAX_SID_SIZE] = {};
};

// Whether an account stands for anybody at all: everyone, anonymous logons,
// guests. Only grants to these count against a folder. Folders on a second
// drive give Authenticated Users the right to change them by default, so
// counting every other account would move the settings of every portable copy
// kept there (D:\Tools, say) away from the macros the user has beside it.
bool standsForAnybody(PSID sid) {
    for (const WELL_KNOWN_SID_TYPE type : {WinWorldSid, WinAnonymousSid, WinBuiltinGuestsSid}) {
        BYTE known[SECURITY_MAX_SID_SIZE] = {};
        DWORD size = sizeof known;
        if (CreateWellKnownSid(type, nullptr, known, &size) && EqualSid(sid, known)) {
            return true;
        }
    }
    return false;
}

void refuseOpenFolder(const std::filesystem::path& folder) {
    if (othersCanWrite(folder)) {
        throw Failure(othersCanWriteText(folder));
    }
}

// The file a link points to, asked of the system once, so that the save goes
// there and the link stays; the file itself when it is not a link. A link
// whose target is missing cannot be resolved and fails, leaving it as it is.
std::filesystem::path resolveLink(const std::filesystem::path& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return file;
    }
    // Opened without FILE_FLAG_OPEN_REPARSE_POINT: the handle is the target's.
    const HANDLE handle =
        CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(file, GetLastError());
    }
    std::wstring target(MAX_PATH, L'\0');
    DWORD length = 0;
    for (;;) {
        length = GetFinalPathNameByHandleW(handle, target.data(), static_cast<DWORD>(target.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length < target.size()) {
            break;
        }
        target.resize(length);
    }
    const DWORD code = GetLastError();
    CloseHandle(handle);
    if (length == 0) {
        fail(file, code);
    }
    target.resize(length);
    // The plain form, as the user writes it, for messages: "\\?\C:\..." to
    // "C:\...", "\\?\UNC\server\..." to "\\server\...".
    if (target.rfind(LR"(\\?\UNC\)", 0) == 0) {
        target.erase(2, 6);
    } else if (target.rfind(LR"(\\?\)", 0) == 0 && target.size() > 5 && target[5] == L':') {
        target.erase(0, 4);
    }
    return target;
}

// Whether the folder's file system keeps access lists at all. FAT and exFAT
// (a USB stick, where a portable copy lives) keep none: every folder there
// reads as open to everyone, and who may write is the mount's business.
bool keepsAccessLists(const std::filesystem::path& folder) {
    wchar_t volume[MAX_PATH + 1];
    DWORD flags = 0;
    if (!GetVolumePathNameW(folder.c_str(), volume, MAX_PATH + 1) ||
        !GetVolumeInformationW(volume, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) {
        return true; // unknown: judged by what the folder reports
    }
    return (flags & FILE_PERSISTENT_ACLS) != 0;
}

} // namespace

bool othersCanWrite(const std::filesystem::path& folder) {
    if (!keepsAccessLists(folder)) {
        return false;
    }
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false; // a missing folder shows up as the write's own failure
    }
    const std::unique_ptr<void, decltype(&LocalFree)> held(descriptor, &LocalFree);
    const TrustedAccounts trusted;
    // The owner may always rewrite the list of who may write.
    if (owner != nullptr && !trusted.trusts(owner)) {
        return true;
    }
    if (dacl == nullptr) {
        return true; // no list at all: everyone may do anything
    }
    // Only allowing entries that apply to the folder itself count; a denying
    // entry is not weighed against them, which errs on the side of refusing.
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (!GetAce(dacl, index, &entry)) {
            continue;
        }
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE)) {
            continue;
        }
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        if ((allowed->Mask & plantingRights) != 0 &&
            standsForAnybody(reinterpret_cast<PSID>(&allowed->SidStart))) {
            return true;
        }
    }
    return false;
}

Text othersCanWriteText(const std::filesystem::path& folder) {
    return u"Refused, other users can write to " + fromWide(folder.wstring());
}

bool Win32FileSystem::folderExists(const Text& path) const {
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void Win32FileSystem::replaceFile(const std::filesystem::path& file, const std::string& bytes) {
    // A link (a dotfiles set-up) is resolved once and its target replaced, so
    // that it stays a link; the target's folder is then the one to check.
    const auto target = resolveLink(file);
    refuseOpenFolder(folderOf(target));
    std::filesystem::path tmp;
    bool created = false;
    for (int attempt = 0; attempt < 4 && !created; ++attempt) {
        tmp = temporaryNameBeside(target);
        created = writeNewFile(tmp, bytes, file);
    }
    if (!created) {
        fail(file, ERROR_FILE_EXISTS);
    }
    // Write-through: the rename is on the disk when the call returns.
    if (!MoveFileExW(tmp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        DeleteFileW(tmp.c_str());
        fail(file, code);
    }
}

bool Win32FileSystem::createFile(const std::filesystem::path& file, const std::string& bytes) {
    refuseOpenFolder(folderOf(file));
    return writeNewFile(file, bytes, file);
}

} // namespace zorlo::win32
