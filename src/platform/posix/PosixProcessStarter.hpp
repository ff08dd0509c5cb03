#pragma once

#include "platform/ProcessStarter.hpp"

#include <string>
#include <vector>

namespace zorlo {

// The shell command on Linux: the user's terminal emulator, started directly
// with the folder as its working folder, which every terminal opens its shell in.
class PosixProcessStarter : public ProcessStarter {
  public:
    long startShell(const Text& commandLine, const Text& folder) override;

    // The terminals tried, in order: the Debian alternative, $TERMINAL, then
    // common ones by name.
    static std::vector<std::string> candidates();
    // The first candidate that can be run; empty when there is none.
    static std::string findTerminal();
};

} // namespace zorlo
