#include "console/Console.hpp"

#include "console/SettingsRead.hpp" // the destructor drops a read never taken
#include "store/Store.hpp"

namespace zorlo {

Text consoleCaption() {
    return u"Zorlo Console v" + toText(ZORLO_VERSION_MAJOR) + u"." + toText(ZORLO_VERSION_MINOR) +
           u"." + toText(ZORLO_VERSION_PATCH);
}

Console::Console(Desktop desktop) : d_(std::move(desktop)) {}

Console::~Console() = default;

ConsoleSnapshot Console::snapshot() const {
    return ConsoleSnapshot{cmdLine,       hidden,  shown,
                           maximized,     xTimers, lockKey,
                           exitRequested, oleDrop, history ? history->count() : std::size_t{0}};
}

std::filesystem::path Console::settingsFile(TextView name) const {
    return d_.settingsFolder / std::filesystem::path(Text(name));
}

Text Console::param(TextView name) {
    return getItem(params, name, *this);
}

void Console::formLoad() {
    d_.window.setCaption(consoleCaption());
    history = std::make_unique<History>(settingsFile(u"history"));
    prompt = u">";
    BusyGuard starting(*this);
    Stat(u"Starting up...");
    loadSettings();
    announceHotkey(false);
    xTimers = true;
    cmdLine.clear();
    lineRead_ = -1;
    recallCount = 0;
    recallPos = 0;
    Stat();
    appendText(getPrompt());
    starting.end();
    formResize();
    d_.sound.open(settingsFile(u"Bleep.WAV"));
    shellErrorText();
    showHelp();
    activateWindow();
}

bool Console::formUnload() {
    if (shutdown_ == Shutdown::Done) {
        return true;
    }
    if (shutdown_ == Shutdown::Asking) {
        return false; // the close that asked decides
    }
    shutdown_ = Shutdown::Asking;
    // The save's report ends in a line break; without busy the change handling
    // would take it for Enter and run a half-typed command line while closing.
    const Text halfTyped = cmdLine;
    BusyGuard closing(*this);
    if (const auto failure = saveAll()) {
        // Closing now would lose the whole session's changes: the user may
        // rather keep the console, mend the folder and save again.
        const bool closeAnyway = d_.dialogs.question(u"Could not save " + failure->file + u" (" +
                                                         failure->reason + u"). Close anyway?",
                                                     u"Zorlo Console");
        if (shutdown_ == Shutdown::Done) {
            closing.keep();
            return true; // the session ended while the box was open, and saved then
        }
        if (!closeAnyway) {
            shutdown_ = Shutdown::Idle;
            exitRequested = false;
            closing.end();
            if (!busy) {
                // A command that runs writes its own prompt when it ends.
                giveBackLine(halfTyped);
            }
            return false;
        }
    }
    closing.keep(); // the console is closing: no change handling from here on
    releaseAll();
    shutdown_ = Shutdown::Done;
    return true;
}

Text Console::endSession() {
    if (shutdown_ == Shutdown::Done) {
        return {};
    }
    // Also while a close's question is open: its save failed, and this one may not.
    shutdown_ = Shutdown::Done;
    busy = true;
    // The program is ending: events must not run (the display may be gone).
    ending_ = true;
    const auto failure = saveAll();
    // The lists stay: a command interrupted by the end may still be on the stack
    // and must find them, and the program ends right after anyway.
    d_.sound.close();
    return failure ? u"Could not save " + failure->file + u" (" + failure->reason + u")" : Text();
}

void Console::releaseAll() {
    macros.clear();
    params.clear();
    history.reset();
    d_.sound.close();
}

void Console::hideWindow() {
    shown = 0;
    d_.window.leaveTopmost();
    d_.window.hide();
}

} // namespace zorlo
