#include "platform/posix/ProgramFolder.hpp"

#include <cstdlib>
#include <unistd.h>

namespace zorlo {

std::filesystem::path userConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config == '/') {
        return std::filesystem::path(config) / "zorlo";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/tmp") / ".config" / "zorlo";
}

std::filesystem::path programFolder(const std::filesystem::path& exeFolder) {
    if (!exeFolder.empty() && access(exeFolder.c_str(), W_OK) == 0) {
        return exeFolder;
    }
    std::filesystem::path folder = userConfigFolder();
    // A folder that cannot be made shows up later as the settings' load and save reports.
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder;
}

} // namespace zorlo
