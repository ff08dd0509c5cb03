#pragma once

#include "text/Text.hpp"

namespace zorlo {

// Starts a command prompt (on Windows "cmd.exe /K", elsewhere the user's
// terminal) whose working folder is `folder`, in a normal focused window.
// `commandLine` is the classic command line for the record; adapters must not
// build a shell string from the folder. Returns the task number (above 0);
// throws Failure with a description when nothing could be started.
class ProcessStarter {
  public:
    virtual ~ProcessStarter() = default;
    virtual long startShell(const Text& commandLine, const Text& folder) = 0;
};

} // namespace zorlo
