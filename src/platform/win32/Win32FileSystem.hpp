#pragma once

#include "platform/FileSystem.hpp"

namespace zorlo::win32 {

class Win32FileSystem : public FileSystem {
  public:
    bool folderExists(const Text& path) const override;
};

} // namespace zorlo::win32
