#include "console/Console.hpp"

#include "store/Pattern.hpp"
#include "store/Store.hpp"

namespace zorlo {

namespace {
constexpr int kCaptureOffsetLeft = 1500;
constexpr int kCaptureOffsetTop = 900;
} // namespace

void Console::setDefaults() {
    params.clear();
    storeGeometry();
    const std::pair<TextView, TextView> defaults[] = {
        {u"autohide", u"1"}, {u"active", u"1"}, {u"key", u"123"}, {u"modifier", u"0"}};
    for (const auto& [name, value] : defaults) {
        Text n(name);
        addItem(params, n, Text(value), *this);
    }
}

void Console::setParam(const Text& name) {
    for (const TextView toggle : {TextView(u"active"), TextView(u"autohide")}) {
        if (equalsIgnoreCase(name, toggle)) {
            Text n(toggle);
            addItem(params, n, param(toggle) == u"1" ? Text(u"0") : Text(u"1"), *this);
            writeOutput(u"PARAM " + Text(toggle) + u"=" + param(toggle));
            return;
        }
    }
    if (equalsIgnoreCase(name, u"key")) {
        getHotkey();
        if (frmKey.hotKey != HotkeyCapture::kNothing) {
            Text key = u"key";
            addItem(params, key, toText(frmKey.hotKey), *this);
            Text modifier = u"modifier";
            addItem(params, modifier, toText(frmKey.modKey), *this);
            // The capture window closes at once; the line says what was taken,
            // and where the desktop binds keys, it is asked afresh.
            announceHotkey(true);
        }
        d_.captureWindow.close();
        return;
    }
    Stat(u"Invalid param: " + name);
}

void Console::listParams(const Text& pattern) {
    Text listing;
    std::optional<Pattern> compiled;
    if (!pattern.empty()) {
        compiled.emplace(pattern);
    }
    for (const auto& bin : params) {
        if (!compiled || compiled->matches(TextView(bin.NAME).substr(0, pattern.size()))) {
            appendListing(listing, bin);
        }
    }
    writeOutput(listing);
}

void Console::getHotkey() {
    frmKey.formLoad();
    d_.captureWindow.show(frmKey, d_.window.left() + kCaptureOffsetLeft,
                          d_.window.top() + kCaptureOffsetTop);
    frmKey.hotKey = HotkeyCapture::kNothing;
    frmKey.modKey = 0;
    lockKey = true;
    xTimers = false;
    // Closing the window without a key also ends the wait: no change, polling back on.
    while (frmKey.waiting()) {
        d_.pump.waitForEvents();
    }
    xTimers = true;
}

} // namespace zorlo
