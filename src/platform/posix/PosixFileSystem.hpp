#pragma once

#include "platform/FileSystem.hpp"

#include <filesystem>

namespace zorlo {

class PosixFileSystem : public FileSystem {
  public:
    bool folderExists(const Text& path) const override;
    void replaceFile(const std::filesystem::path& file, const std::string& bytes) override;
    bool createFile(const std::filesystem::path& file, const std::string& bytes) override;
};

namespace posix {

// True when a user other than this one (and root) can create, replace or
// remove names in the folder: it belongs to someone else, or its group or
// everybody may write it, unless it is sticky and ours. A folder's own
// group counts only when it is not our own group, as with one group per user.
bool othersCanWrite(const std::filesystem::path& folder);

// The description of a refused folder, for the console's reports.
Text othersCanWriteText(const std::filesystem::path& folder);

} // namespace posix

} // namespace zorlo
