#include "console/Console.hpp"

#include "store/Store.hpp"

namespace zorlo {

Text consoleCaption() {
    return u"Zorlo Console v" + toText(ZORLO_VERSION_MAJOR) + u"." + toText(ZORLO_VERSION_MINOR) +
           u"." + toText(ZORLO_VERSION_PATCH);
}

Console::Console(Desktop desktop) : d_(std::move(desktop)) {}

Console::~Console() = default;

std::filesystem::path Console::settingsFile(TextView name) const {
    return d_.settingsFolder / std::filesystem::path(Text(name));
}

Text Console::param(TextView name) {
    return getItem(params, name, d_.dialogs);
}

void Console::formLoad() {
    d_.window.setCaption(consoleCaption());
    history = std::make_unique<History>(settingsFile(u"history"));
    prompt = u">";
    busy = true;
    Stat(u"Starting up...");
    loadSettings();
    xTimers = true;
    cmdLine.clear();
    recallCount = 0;
    recallPos = 0;
    Stat();
    appendText(getPrompt());
    busy = false;
    formResize();
    d_.sound.open(settingsFile(u"Bleep.WAV"));
    shellErrorText();
    showHelp();
    activateWindow();
}

void Console::formUnload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    // The save's report ends in a line break; without busy the change handling
    // would take it for Enter and run a half-typed command line while closing.
    busy = true;
    saveSettings();
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
