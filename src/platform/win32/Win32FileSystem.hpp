#pragma once

#include "platform/FileSystem.hpp"

namespace zorlo::win32 {

// Whether anybody at all (Everyone, anonymous logons, guests) may add files or
// folders to the folder, or an account other than the user's own, the
// system's and the administrators' owns it: such a one could plant a link
// where a save writes. False when the folder cannot be read, and
// on a file system without access lists (FAT, exFAT), where it would always be
// true.
bool othersCanWrite(const std::filesystem::path& folder);
Text othersCanWriteText(const std::filesystem::path& folder);

class Win32FileSystem : public FileSystem {
  public:
    bool folderExists(const Text& path) const override;
    void replaceFile(const std::filesystem::path& file, const std::string& bytes) override;
    bool createFile(const std::filesystem::path& file, const std::string& bytes) override;
};

} // namespace zorlo::win32
