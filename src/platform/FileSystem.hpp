#pragma once

#include "text/Text.hpp"

namespace zorlo {

// The one file-system question the engine asks besides its own files.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual bool folderExists(const Text& path) const = 0;
};

} // namespace zorlo
