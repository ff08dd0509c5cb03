#pragma once

#include "platform/FileSystem.hpp"

#include <vector>

namespace zorlo {

// Folders exist when a script declared them or when they are real folders on
// disk. Declared folders compare as Windows paths do: without regard to case,
// either separator, a closing separator or not.
class FakeFileSystem : public FileSystem {
  public:
    void addFolder(const Text& path);
    bool folderExists(const Text& path) const override;

  private:
    std::vector<Text> folders_;
};

} // namespace zorlo
