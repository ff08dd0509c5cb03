#pragma once

#include "platform/FileSystem.hpp"

namespace zorlo {

class PosixFileSystem : public FileSystem {
  public:
    bool folderExists(const Text& path) const override;
};

} // namespace zorlo
