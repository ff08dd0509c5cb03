#include "platform/posix/PosixShell.hpp"

#include "platform/posix/HomeFolder.hpp"
#include "platform/posix/Spawn.hpp"
#include "platform/posix/WindowsArguments.hpp"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zorlo {

namespace {

namespace fs = std::filesystem;

constexpr long kFileNotFound = 2;
constexpr long kPathNotFound = 3;
constexpr long kAccessDenied = 5;
constexpr long kOutOfMemory = 8;
constexpr long kBadProgram = 11;
constexpr long kSharingViolation = 26;
constexpr long kNoHandler = 31;
// A failure with no code of its own shows the engine's "Unknown Error".
constexpr long kUnknown = 1;

} // namespace

long PosixShell::codeForErrno(int error) {
    switch (error) {
    case ENOENT:
        return kFileNotFound;
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
        return kPathNotFound;
    case EACCES:
    case EPERM:
        return kAccessDenied;
    case ENOMEM:
    case E2BIG:
    case EAGAIN:
        return kOutOfMemory;
    case ENOEXEC:
    case ELIBBAD:
        return kBadProgram;
    case ETXTBSY:
        return kSharingViolation;
    default:
        return kUnknown;
    }
}

namespace {

// xdg-open's own exit codes: 2 the file does not exist; 1, 3 and 4 mean no
// program could open it.
long codeForHandlerExit(int exitCode) {
    if (exitCode == 0) {
        return PosixShell::kStarted;
    }
    return exitCode == 2 ? kFileNotFound : kNoHandler;
}

std::string currentFolder() {
    std::error_code error;
    const auto current = fs::current_path(error);
    if (!error) {
        return current.string();
    }
    return posix::homeFolder();
}

// A file runs directly only when it is a program: an ELF binary or a script
// naming its interpreter. Other files with the execute bit (documents on a
// FAT stick) open with their handler, as a document would on Windows.
bool looksRunnable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char head[4] = {};
    file.read(head, sizeof head);
    const auto got = file.gcount();
    return (got >= 2 && head[0] == '#' && head[1] == '!') ||
           (got == 4 && head[0] == '\x7f' && head[1] == 'E' && head[2] == 'L' && head[3] == 'F');
}

// Why a path cannot be opened: no folder on the way (3) or no file at its end (2).
long missingCode(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    std::error_code error;
    if (!parent.empty() && !fs::is_directory(parent, error)) {
        return kPathNotFound;
    }
    return kFileNotFound;
}

std::vector<std::string> argumentWords(const Text& parameters) {
    std::vector<std::string> words;
    for (const Text& word : splitWindowsArguments(parameters)) {
        words.push_back(toUtf8(word));
    }
    return words;
}

} // namespace

std::string PosixShell::workingFolder(const Text& directory) {
    std::string folder = posix::expandHome(toUtf8(directory));
    while (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error)) {
        return currentFolder();
    }
    return folder;
}

bool PosixShell::hasUriScheme(const Text& target) {
    const std::size_t colon = target.find(u':');
    // One letter before the colon is a drive ("C:\\"), never a scheme.
    if (colon == Text::npos || colon < 2) {
        return false;
    }
    const auto isLetter = [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    if (!isLetter(target.front())) {
        return false;
    }
    for (const char16_t c : TextView(target).substr(1, colon - 1)) {
        const bool digit = c >= u'0' && c <= u'9';
        if (!isLetter(c) && !digit && c != u'+' && c != u'-' && c != u'.') {
            return false;
        }
    }
    return true;
}

bool PosixShell::isWebAddress(const Text& target) {
    return hasUriScheme(target) || equalsIgnoreCase(TextView(target).substr(0, 4), u"www.");
}

long PosixShell::open(const Text& file, const Text& parameters, const Text& directory) {
    const std::string folder = workingFolder(directory);
    if (isWebAddress(file)) {
        std::string address = toUtf8(file);
        // A browser needs the scheme that Windows lets one leave out.
        if (!hasUriScheme(file)) {
            address.insert(0, "http://");
        }
        return openWithDefaultHandler(address, folder);
    }
    const std::string target = posix::expandHome(toUtf8(file));
    if (target.empty()) {
        return kFileNotFound;
    }
    std::string path = target;
    if (target.find('/') == std::string::npos) {
        const std::string program = posix::findOnPath(target);
        if (!program.empty()) {
            path = program;
        } else {
            path = (fs::path(currentFolder()) / target).string();
        }
    } else if (target.front() != '/') {
        path = (fs::path(currentFolder()) / target).string();
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? missingCode(path) : codeForErrno(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return openWithDefaultHandler(path, folder);
    }
    const bool readable = access(path.c_str(), R_OK) == 0;
    const bool executable = access(path.c_str(), X_OK) == 0;
    if (!readable && !executable) {
        return kAccessDenied;
    }
    if (S_ISREG(info.st_mode) && executable && (!readable || looksRunnable(path))) {
        const posix::Started started =
            posix::startDetached(path, argumentWords(parameters), folder);
        return started.error == 0 ? kStarted : codeForErrno(started.error);
    }
    return openWithDefaultHandler(path, folder);
}

long PosixShell::openWithDefaultHandler(const std::string& target, const std::string& folder) {
    const std::string opener = posix::findOnPath("xdg-open");
    if (opener.empty()) {
        return kNoHandler;
    }
    const posix::Started started = posix::startDetached(opener, {target}, folder, kHandlerWatchMs);
    if (started.error != 0) {
        return kNoHandler;
    }
    return started.exitCode ? codeForHandlerExit(*started.exitCode) : kStarted;
}

} // namespace zorlo
