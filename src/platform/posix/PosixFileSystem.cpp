#include "platform/posix/PosixFileSystem.hpp"

#include "platform/posix/HomeFolder.hpp"

#include <filesystem>

namespace zorlo {

bool PosixFileSystem::folderExists(const Text& path) const {
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(posix::expandHome(toUtf8(path))),
                                         error);
}

} // namespace zorlo
