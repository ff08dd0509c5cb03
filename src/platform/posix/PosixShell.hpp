#pragma once

#include "platform/Shell.hpp"

#include <string>

namespace zorlo {

// Opening a target on Linux: an executable file, or a program found on PATH,
// runs directly (no shell) in the working folder with the argument text split
// as a Windows program would split it; folders, documents and web addresses go
// to the desktop's default handler, xdg-open. "~" at the start of a target
// or a folder is the home folder. Failures come back as the
// Windows launch codes: 2 no such file, 3 no such folder, 5 access denied,
// 11 not a program, 31 nothing to open it with.
class PosixShell : public Shell {
  public:
    // How long xdg-open may take to report that nothing can open the target.
    static constexpr int kHandlerWatchMs = 1500;
    // What a successful launch returns; any number above 32 would do.
    static constexpr long kStarted = 42;

    long open(const Text& file, const Text& parameters, const Text& directory) override;

    // The engine's working folder text ends in a backslash; an empty one, or
    // one that names no folder here, means the console's own current folder.
    static std::string workingFolder(const Text& directory);
    // Goes to the default handler as it is: an address with a scheme of two
    // or more characters ("mailto:a@b.c", "magnet:?xt=..."), or "www...."
    // (given "http://").
    static bool isWebAddress(const Text& target);
    // "scheme:" at the start, in the URI syntax (a letter, then letters,
    // digits, "+", "-" or "."), at least two characters long.
    static bool hasUriScheme(const Text& target);
    // The launch code for a start that failed with `error` (an errno value).
    static long codeForErrno(int error);

  private:
    long openWithDefaultHandler(const std::string& target, const std::string& folder);
};

} // namespace zorlo
