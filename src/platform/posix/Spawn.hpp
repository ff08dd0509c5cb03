#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorlo::posix {

struct Started {
    int error = 0; // errno of a failed start; 0 when the program runs
    long pid = 0;
    std::optional<int> exitCode; // set when it ended within the watch time
};

// Starts a program directly, without a shell, in `folder`, in a session of its
// own, and does not wait for it: it is no child of the console, so nothing is
// left to reap. With watchMs above 0 the call waits up to that long for the
// program to end and reports its exit code (for helpers such as xdg-open that
// report failure through it). In a Wayland session the program gets a fresh
// activation token (for a window of appId, empty when unknown), so that its
// window may open in front; where the compositor gives none, it starts without.
Started startDetached(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& folder, int watchMs = 0, const std::string& appId = {});

// Whether a variable of the console's environment ("NAME=value") goes on to
// the programs it starts.
bool passesToLaunched(std::string_view variable);

// The executable file that a bare name runs from PATH; empty when none.
std::string findOnPath(const std::string& name);

bool isExecutableFile(const std::string& path);

} // namespace zorlo::posix
