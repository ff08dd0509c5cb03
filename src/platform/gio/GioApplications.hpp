#pragma once

#include "platform/Applications.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorlo {

// The desktop's installed applications as GIO knows them: the XDG desktop
// entries of $XDG_DATA_HOME and $XDG_DATA_DIRS, with the desktop's own rules
// on what to show (Hidden, NoDisplay, OnlyShowIn and NotShowIn against
// $XDG_CURRENT_DESKTOP, TryExec) and the Name in the user's language.
class GioApplications : public Applications {
  public:
    // Asked at each launch for a token that lets the started application take
    // the focus; none where the desktop hands out none. appId: the desktop
    // file id without ".desktop", the id the application's window will carry.
    using TokenSource = std::function<std::optional<std::string>(const std::string& appId)>;

    explicit GioApplications(TokenSource tokenForLaunch);

    // Each argument word becomes a file for the entry's field codes: a word
    // with a URI scheme as that URI, any other as a path in `folder`. The
    // application starts in `folder` unless its entry names a Path of its own,
    // with the environment a literal launch gets. Returns PosixShell's codes.
    long launch(const Application& app, const std::vector<Text>& arguments,
                const Text& folder) override;

    // The applications the desktop shows, in no particular order. Blocks on
    // the disk: call it off the window's thread. Safe on any thread.
    static std::vector<Application> read();

  private:
    TokenSource tokenForLaunch_;
};

// Calls `changed` when the installed applications may have changed (an entry
// added, edited or removed in any application folder), from the GLib main
// context of the thread that made it: Qt's event loop runs that context on
// the window's thread. Calls come at most once between two reads.
class GioApplicationsWatch {
  public:
    explicit GioApplicationsWatch(std::function<void()> changed);
    ~GioApplicationsWatch();
    GioApplicationsWatch(const GioApplicationsWatch&) = delete;
    GioApplicationsWatch& operator=(const GioApplicationsWatch&) = delete;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace zorlo
