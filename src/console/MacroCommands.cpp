#include "console/Console.hpp"

#include "launch/PathText.hpp"
#include "store/MacroNames.hpp"
#include "store/Pattern.hpp"
#include "store/SettingsFile.hpp"
#include "store/Store.hpp"

#include <algorithm>

namespace zorlo {

void appendListing(Text& listing, BinView bin) {
    if (!listing.empty()) {
        listing += CRLF;
    }
    listing += bin.NAME;
    listing += u" (";
    bin.VALUE.appendTo(listing);
    listing += u")";
}

Text nameFromUrl(TextView text) {
    std::size_t p = findIgnoreCase(text, u"www.");
    if (p == TextView::npos) {
        p = findIgnoreCase(text, u"http://");
    }
    if (p == TextView::npos) {
        return {};
    }
    p = text.find(u'.');
    if (p == TextView::npos) {
        return {};
    }
    const std::size_t q = text.find(u'.', p + 1);
    if (q == TextView::npos) {
        return {};
    }
    return Text(text.substr(p + 1, q - p - 1));
}

// The settings file cannot hold a double quote or a line break: storing one
// would corrupt the file at the next save, so it is refused where it enters.
bool Console::refuseUnstorable(const Text& name, const Text& value, bool storedAsIs,
                               bool storedLowercase) {
    const auto refusal = storeRefusal(name, value, storedAsIs, storedLowercase);
    if (refusal) {
        Stat(*refusal);
    }
    return refusal.has_value();
}

void Console::addMacro(Text name, const Text& value) {
    if (refuseUnstorable(name, value, macros.empty())) {
        return;
    }
    if (addItem(macros, name, value, *this)) {
        Stat(u"Macro added: " + name);
    }
}

void Console::renameMacro(const Text& oldName, const Text& newName) {
    if (const std::size_t position = findNameMatching(macros, oldName)) {
        if (refuseUnstorable(newName, Text(), true, false)) {
            return;
        }
        macros.setName(position, newName);
        Stat(u"Rename " + oldName + u"->" + newName + u": Ok");
        return;
    }
    Stat(u"Rename " + oldName + u": Not Found");
}

void Console::deleteMacro(const Text& name) {
    if (const std::size_t position = findNameMatching(macros, name)) {
        macros.removeAt(position);
        Stat(u"Remove " + name + u": Ok");
        return;
    }
    Stat(u"Remove " + name + u": Not Found");
}

void Console::listMacros(const Text& pattern) {
    Text listing;
    if (!macros.empty()) {
        const Pattern compiled(pattern);
        for (const auto& bin : macros) {
            if (pattern.empty() || compiled.matches(TextView(bin.NAME).substr(0, pattern.size()))) {
                appendListing(listing, bin);
            }
        }
    }
    writeOutput(listing.empty() ? Text(u"No Match") : listing);
}

bool Console::findMacros(const Text& pattern, bool show) {
    const auto holds = [&pattern](BinView bin) {
        return findIgnoreCase(Text(bin.VALUE), pattern) != TextView::npos ||
               findIgnoreCase(bin.NAME, pattern) != TextView::npos;
    };
    if (!show) {
        // Only whether some name or value holds the text counts then; a macro
        // whose value or name is the text itself, as after an argument's
        // expansion, answers that without reading the whole list.
        if (macros.empty()) {
            return false;
        }
        if (pattern.empty() || macros.holdsValue(pattern) || macros.findSameName(pattern) != 0) {
            return true;
        }
        return std::any_of(macros.begin(), macros.end(), holds);
    }
    Text listing;
    for (const auto& bin : macros) {
        if (holds(bin)) { // every text holds the empty one
            appendListing(listing, bin);
        }
    }
    writeOutput(listing.empty() ? Text(u"No Macros Found") : listing);
    return !listing.empty();
}

void Console::offerMacro(const Text& text) {
    // Only an address can be offered, and the search of every name and value
    // for it is costly on a big list, so the cheap test comes first; the
    // search has no effect of its own, so the order changes nothing.
    const Text suggestion = nameFromUrl(text);
    if (suggestion.empty() || findMacros(text, false)) {
        return;
    }
    if (!d_.dialogs.question(u"Add macro for " + text + u"?", Text(kAppTitle))) {
        return;
    }
    Text answer =
        d_.dialogs.inputBox(u"Macro name for " + text, Text(kAppTitle), suggestion, -1, -1)
            .value_or(Text());
    if (answer.empty()) {
        answer = suggestion;
    }
    if (refuseUnstorable(answer, text, macros.empty())) {
        return;
    }
    if (addItem(macros, answer, text, *this)) {
        Stat(u"Macro added: " + answer);
    }
}

void Console::addFileMacro(const Text& path, const Text& name) {
    Text base = name.empty() ? baseName(path) : name;
    if (refuseUnstorable(base, path, macros.empty())) {
        return;
    }
    if (addItem(macros, base, path, *this)) {
        Stat(base + u" added");
    }
}

} // namespace zorlo
