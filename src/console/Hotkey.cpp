#include "console/Console.hpp"

#include "console/KeyNames.hpp"
#include "text/Number.hpp"

#include <limits>

namespace zorlo {

void Console::theTimer_Timer() {
    // Every tick that acts on the hotkey sets the latch, and every tick that
    // sees the key released after one clears it; a tick that leaves the latch
    // as it was has changed nothing, and its inputs are the key state, the
    // window's place in front and the console's own state.
    const bool latchBefore = lockKey;
    pollHotkey();
    timerMayRest_ = !exitRequested && shutdown_ == Shutdown::Idle && lockKey == latchBefore;
}

void Console::pollHotkey() {
    if (exitRequested) {
        d_.window.unload();
        return;
    }
    if (!xTimers) {
        return;
    }
    if (hotkeyOffBehindOthers()) {
        return;
    }
    // A stored key or modifier that is no whole number leaves the hotkey idle
    // for this tick; nothing fails and nothing is shown.
    const auto key = parseInteger(param(u"key"));
    if (!key) {
        return;
    }
    const Text modifierText = param(u"modifier");
    const bool withModifier = modifierText != u"0";
    bool modifierDown = false;
    if (withModifier) {
        const auto modifier = parseInteger(modifierText);
        if (!modifier) {
            return;
        }
        modifierDown = d_.keyboard.isKeyDown(static_cast<int>(*modifier));
    }
    if (!d_.keyboard.isKeyDown(static_cast<int>(*key))) {
        lockKey = false;
        return;
    }
    if (lockKey) {
        return;
    }
    if (withModifier && !modifierDown) {
        return;
    }
    actOnPress();
}

bool Console::hotkeyOffBehindOthers() {
    return param(u"active") == u"0" && !d_.window.isForeground() && !hidden;
}

void Console::actOnPress() {
    lockKey = true;
    // The press counts from what is on the screen, not from what the last
    // press asked for: a window that the desktop showed or hid behind the
    // console's back would otherwise cost a press that does nothing.
    if (d_.window.isVisible()) {
        shown = 1;
        hidden = false;
    } else {
        shown = 0;
    }
    toggleShown();
    if (shown == 0) {
        if (!d_.window.isForeground() && !hidden) {
            activateWindow();
            return;
        }
        if (d_.window.isVisible()) {
            hideWindow();
            hidden = true;
        }
        return;
    }
    if (!d_.window.isVisible()) {
        activateWindow();
        hidden = false;
    }
}

void Console::activateWindow() {
    d_.window.show();
    d_.sound.play();
    d_.window.bringToFront();
    shown = 1;
}

namespace {

// A parameter that names a key code: a whole number in the range of one.
std::optional<int> keyCode(TextView text) {
    const auto value = parseInteger(text);
    if (!value || *value < 0 || *value > std::numeric_limits<short>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

} // namespace

void Console::announceHotkey(bool afterCapture) {
    const HotkeyService::Way way = d_.hotkeys.way();
    if (way == HotkeyService::Way::Compositor) {
        writeOutput(u"Hotkey: bind a key to zorlo");
        return;
    }
    const auto key = keyCode(param(u"key"));
    const auto modifier = keyCode(param(u"modifier"));
    if (way == HotkeyService::Way::Poll) {
        if (afterCapture && key && modifier) {
            writeOutput(u"Hotkey: " + hotkeyName(*key, *modifier));
        }
        return;
    }
    // A key that the desktop's syntax cannot name is no preference at all.
    const Text trigger = key && modifier ? shortcutTrigger(*key, *modifier) : Text();
    announcedTrigger_ =
        trigger.empty() ? Text(u"the desktop's choice") : hotkeyName(*key, *modifier);
    writeOutput(u"Hotkey: " + announcedTrigger_ + u" through the desktop");
    d_.hotkeys.bind(trigger);
}

void Console::hotkeyBound(const Text& trigger) {
    if (exitRequested || shutdown_ != Shutdown::Idle) {
        return;
    }
    // The desktop has the last word on the key; only news is written.
    if (!trigger.empty() && equalsIgnoreCase(trigger, announcedTrigger_)) {
        return;
    }
    announcedTrigger_ = trigger;
    writeAside([&] {
        writeOutput(trigger.empty() ? Text(u"Hotkey: none from the desktop; bind a key to zorlo")
                                    : u"Hotkey: " + trigger + u" through the desktop");
    });
}

} // namespace zorlo
