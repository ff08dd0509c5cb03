#pragma once

#include "platform/FileSystem.hpp"

namespace zorlo::win32 {

class Win32FileSystem : public FileSystem {
  public:
    bool folderExists(const Text& path) const override;
    void replaceFile(const std::filesystem::path& file, const std::string& bytes) override;
    bool createFile(const std::filesystem::path& file, const std::string& bytes) override;
};

} // namespace zorlo::win32
