#include "console/Console.hpp"

#include "store/FileIo.hpp"
#include "store/SettingsFile.hpp"
#include "store/Store.hpp"
#include "text/Failure.hpp"

namespace zorlo {

namespace {

constexpr TextView kListFile = u"zorlo.list";
constexpr TextView kParamFile = u"zorlo.param";

// Returns false when the file holds a pair that the list did not take as its own.
bool loadList(const std::filesystem::path& file, BinList& list, StatusSink& status) {
    const auto bytes = readFileBytes(file);
    if (!bytes) {
        throw Failure(u"File not found: " + fileNameText(file));
    }
    return readSettingsInto(decodeFileBytes(*bytes), list, status);
}

} // namespace

void Console::keepUnreadFile(bool& pending, const std::filesystem::path& file) {
    if (!pending) {
        return;
    }
    std::error_code ec;
    const bool exists = std::filesystem::exists(file, ec);
    if (ec) {
        throw Failure(describeFileError(file, ec.message()));
    }
    if (!exists) {
        pending = false;
        return;
    }
    auto kept = file;
    kept += ".bad";
    // Until the copy is made the unread file must not be replaced: a failure
    // here ends the save, and the next save tries again.
    copyFileReplacing(file, kept);
    pending = false;
    const Text name = fileNameText(file);
    Stat(u"Kept the old " + name + u" as " + name + u".bad");
}

void Console::saveHistory() {
    keepUnreadFile(keepHistoryPending_, history->file());
    history->Save();
}

void Console::loadSettings() {
    bool listLoaded = false;
    try {
        macros.clear();
        // A pair the list did not take (refused, failed, merged) would be gone
        // from the file after the next save, so that save keeps the old file.
        keepListPending_ = !loadList(settingsFile(kListFile), macros, *this);
        listLoaded = true;
        Stat(u"LOAD: List Ok");
        params.clear();
        keepParamPending_ = !loadList(settingsFile(kParamFile), params, *this);
        applyGeometry();
        history->Load();
        Stat(u"LOAD: Param Ok");
    } catch (const Failure& failure) {
        Stat(u"LOAD: Error (" + failure.description() + u"), Set defaults");
        setDefaults();
        // What was not loaded must not be replaced unseen by the next save.
        keepListPending_ = keepListPending_ || !listLoaded;
        keepParamPending_ = true;
        keepHistoryPending_ = true;
    }
}

std::optional<Console::SaveFailure> Console::saveAll() {
    // Geometry goes into the parameters, so a failure there is theirs.
    auto file = settingsFile(kParamFile);
    try {
        if (maximized) {
            minWindow();
        }
        storeGeometry();
        file = settingsFile(kListFile);
        keepUnreadFile(keepListPending_, file);
        writeFileAtomically(file, encodeFileText(formatSettings(macros)));
        file = settingsFile(kParamFile);
        keepUnreadFile(keepParamPending_, file);
        writeFileAtomically(file, encodeFileText(formatSettings(params)));
        file = history->file();
        saveHistory();
        Stat(u"SAVE: Ok");
        return std::nullopt;
    } catch (const Failure& failure) {
        Stat(u"SAVE: Error (" + failure.description() + u")");
        return SaveFailure{fileNameText(file), failure.description()};
    }
}

} // namespace zorlo
