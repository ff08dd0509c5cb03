#include "platform/posix/PosixProcessStarter.hpp"

#include "platform/posix/PosixShell.hpp"
#include "platform/posix/Spawn.hpp"
#include "text/Failure.hpp"

#include <cstdlib>
#include <cstring>

namespace zorlo {

std::vector<std::string> PosixProcessStarter::candidates() {
    std::vector<std::string> names{"x-terminal-emulator"};
    if (const char* chosen = std::getenv("TERMINAL"); chosen != nullptr && *chosen != '\0') {
        names.emplace_back(chosen);
    }
    for (const char* name : {"gnome-terminal", "konsole", "xfce4-terminal", "mate-terminal",
                             "lxterminal", "alacritty", "kitty", "xterm"}) {
        names.emplace_back(name);
    }
    return names;
}

std::string PosixProcessStarter::findTerminal() {
    for (const std::string& name : candidates()) {
        std::string program = name.find('/') != std::string::npos
                                  ? (posix::isExecutableFile(name) ? name : std::string())
                                  : posix::findOnPath(name);
        if (!program.empty()) {
            return program;
        }
    }
    return {};
}

long PosixProcessStarter::startShell(const Text& /*commandLine*/, const Text& folder) {
    const std::string terminal = findTerminal();
    if (terminal.empty()) {
        throw Failure(u"No terminal emulator found (looked for x-terminal-emulator, $TERMINAL, "
                      u"gnome-terminal, konsole, xfce4-terminal, mate-terminal, lxterminal, "
                      u"alacritty, kitty, xterm)");
    }
    const posix::Started started =
        posix::startDetached(terminal, {}, PosixShell::workingFolder(folder));
    if (started.error != 0) {
        throw Failure(fromUtf8("Cannot start " + terminal + ": " + std::strerror(started.error)));
    }
    return started.pid > 0 ? started.pid : 1;
}

} // namespace zorlo
