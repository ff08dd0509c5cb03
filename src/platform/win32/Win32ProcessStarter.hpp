#pragma once

#include "platform/ProcessStarter.hpp"

namespace zorlo::win32 {

// Starts "cmd.exe /K" from the system folder with the folder as its working
// folder. The folder never becomes part of a command string, so no folder name
// can smuggle in a second command.
class Win32ProcessStarter : public ProcessStarter {
  public:
    long startShell(const Text& commandLine, const Text& folder) override;
};

} // namespace zorlo::win32
