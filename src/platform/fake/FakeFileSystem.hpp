#pragma once

#include "platform/FileSystem.hpp"

#include <vector>

namespace zorlo {

// Folders exist when a script declared them or when they are real folders on
// disk. Declared folders compare as Windows paths do: without regard to case,
// either separator, a closing separator or not. Files are written to disk
// with standard C++ (no modes, links or syncing), or through a real adapter
// handed to writeThrough().
class FakeFileSystem : public FileSystem {
  public:
    void addFolder(const Text& path);
    bool folderExists(const Text& path) const override;
    void replaceFile(const std::filesystem::path& file, const std::string& bytes) override;
    bool createFile(const std::filesystem::path& file, const std::string& bytes) override;
    // Null: back to standard C++.
    void writeThrough(FileSystem* files) { writeThrough_ = files; }

  private:
    std::vector<Text> folders_;
    FileSystem* writeThrough_ = nullptr;
};

} // namespace zorlo
