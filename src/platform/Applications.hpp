#pragma once

#include "text/Text.hpp"

#include <vector>

namespace zorlo {

// One application the desktop has installed, as the console offers it after
// the user's own macros and history.
struct Application {
    Text name;               // what the desktop shows (localised where it can be)
    std::vector<Text> names; // other names it answers to (desktop file id, shortcut name...)
    Text target;             // what it starts, as `apps` shows it and a launch reports it
    Text key;                // the adapter's own handle for launching it (empty in the fake)
};

// Launches the desktop's applications. The list itself reaches the console
// through its events door (applicationsRead), because adapters read it off
// the window's path (a worker thread, a folder watcher).
class Applications {
  public:
    virtual ~Applications() = default;
    // Starts `app` with the argument words in `folder` (the console's current
    // folder, given as a literal launch of a bare program name gets it: "\"
    // alone, which Shell::open also reads as the program's own current
    // folder). Returns what Shell::open returns: above 32 on success, else the
    // failure code. Never throws.
    virtual long launch(const Application& app, const std::vector<Text>& arguments,
                        const Text& folder) = 0;
};

} // namespace zorlo
