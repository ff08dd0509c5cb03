#include "console/Console.hpp"

#include "launch/PathText.hpp"
#include "store/MacroNames.hpp"
#include "store/Pattern.hpp"
#include "store/SettingsFile.hpp"
#include "store/Store.hpp"

namespace zorlo {

namespace {

Text listingLine(const Bin& bin) {
    return bin.NAME + u" (" + bin.VALUE + u")";
}

void appendListing(Text& listing, const Bin& bin) {
    if (!listing.empty()) {
        listing += CRLF;
    }
    listing += listingLine(bin);
}

} // namespace

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
bool Console::refuseUnstorable(const Text& name, const Text& value, bool storedAsIs) {
    const auto refusal = storeRefusal(name, value, storedAsIs);
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
    for (auto& bin : macros) {
        if (isLike(oldName, bin.NAME)) {
            if (refuseUnstorable(newName, Text(), true)) {
                return;
            }
            bin.NAME = newName;
            Stat(u"Rename " + oldName + u"->" + newName + u": Ok");
            return;
        }
    }
    Stat(u"Rename " + oldName + u": Not Found");
}

void Console::deleteMacro(const Text& name) {
    for (std::size_t pos = 1; pos <= macros.count(); ++pos) {
        if (isLike(name, macros.at(pos).NAME)) {
            macros.removeAt(pos);
            Stat(u"Remove " + name + u": Ok");
            return;
        }
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
    Text listing;
    bool found = false;
    for (const auto& bin : macros) {
        if (pattern.empty() || findIgnoreCase(bin.VALUE, pattern) != TextView::npos ||
            findIgnoreCase(bin.NAME, pattern) != TextView::npos) {
            appendListing(listing, bin);
            found = true;
        }
    }
    if (show) {
        writeOutput(listing.empty() ? Text(u"No Macros Found") : listing);
    }
    return found;
}

void Console::offerMacro(const Text& text) {
    if (findMacros(text, false)) {
        return;
    }
    const Text suggestion = nameFromUrl(text);
    if (suggestion.empty()) {
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
