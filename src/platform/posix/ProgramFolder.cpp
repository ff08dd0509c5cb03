#include "platform/posix/ProgramFolder.hpp"

#include "platform/posix/HomeFolder.hpp"

#include <cstdlib>

namespace zorlo {

std::filesystem::path userConfigHome() {
    // A relative value is to be ignored, as the base directory rules say.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config == '/') {
        return config;
    }
    return std::filesystem::path(posix::homeFolder()) / ".config";
}

std::filesystem::path userConfigFolder() {
    return userConfigHome() / "zorlo";
}

bool isPortableFolder(const std::filesystem::path& exeFolder) {
    std::error_code error;
    return !exeFolder.empty() && (std::filesystem::exists(exeFolder / "portable", error) ||
                                  std::filesystem::exists(exeFolder / "zorlo.list", error));
}

std::filesystem::path programFolder(const std::filesystem::path& exeFolder) {
    if (isPortableFolder(exeFolder)) {
        return exeFolder;
    }
    std::filesystem::path folder = userConfigFolder();
    // A folder that cannot be made shows up later as the settings' load and save reports.
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder;
}

} // namespace zorlo
