#include "platform/posix/ProgramFolder.hpp"

#include "platform/posix/HomeFolder.hpp"
#include "platform/posix/PosixFileSystem.hpp"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

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
        // Another user could plant links or macros there: such a folder is
        // passed over as one that cannot be written is.
        if (!posix::othersCanWrite(exeFolder)) {
            return exeFolder;
        }
        std::fprintf(stderr, "zorlo: other users can write to %s; using %s for the settings\n",
                     exeFolder.c_str(), userConfigFolder().c_str());
    }
    std::filesystem::path folder = userConfigFolder();
    // Typed arguments end up in the history: the folder is the user's alone.
    // A folder that cannot be made shows up later as the settings' load and save reports.
    std::error_code error;
    std::filesystem::create_directories(folder.parent_path(), error);
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

} // namespace zorlo
