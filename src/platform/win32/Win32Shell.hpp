#pragma once

#include "platform/Shell.hpp"

namespace zorlo::win32 {

// ShellExecuteW with the verb "open"; its result code is passed on unchanged.
class Win32Shell : public Shell {
  public:
    long open(const Text& file, const Text& parameters, const Text& directory) override;
};

} // namespace zorlo::win32
