#include "console/Console.hpp"

#include "store/FileIo.hpp"
#include "store/SettingsFile.hpp"
#include "store/Store.hpp"
#include "text/Failure.hpp"

#include <functional>
#include <string_view>

namespace zorlo {

namespace {

constexpr TextView kListFile = u"zorlo.list";
constexpr TextView kParamFile = u"zorlo.param";

std::size_t hashOf(const std::string& bytes) {
    return std::hash<std::string_view>{}(bytes);
}

// Returns false when the file holds a pair that the list did not take as its own.
// seen: the hash of the bytes read.
bool loadList(const std::filesystem::path& file, BinList& list, StatusSink& status,
              std::optional<std::size_t>& seen) {
    const auto bytes = readFileBytes(file);
    seen.reset();
    if (!bytes) {
        throw Failure(u"File not found: " + fileNameText(file));
    }
    seen = hashOf(*bytes);
    return readSettingsInto(decodeFileBytes(*bytes), list, status);
}

} // namespace

void Console::keepFile(const std::filesystem::path& file, const std::string& bytes) {
    // An earlier kept file may hold an edit of its own: it is never replaced.
    constexpr int kMostKept = 1000;
    for (int n = 0; n < kMostKept; ++n) {
        auto kept = file;
        kept += n == 0 ? std::string(".bad") : ".bad." + std::to_string(n);
        if (d_.files.createFile(kept, bytes)) {
            const Text name = fileNameText(file);
            Stat(u"Kept the old " + name + u" as " + fileNameText(kept));
            return;
        }
    }
    throw Failure(describeFileError(file, "Too many kept copies"));
}

void Console::saveFile(const std::filesystem::path& file, const std::string& bytes, bool& pending,
                       std::optional<std::size_t>* seen) {
    if (pending || seen != nullptr) {
        const auto onDisk = readFileBytes(file);
        // Until the copy is made the old file must not be replaced: a failure
        // here ends the save, and the next save tries again.
        if (onDisk && (pending || !*seen || **seen != hashOf(*onDisk))) {
            keepFile(file, *onDisk);
        }
        pending = false;
    }
    d_.files.replaceFile(file, bytes);
    if (seen != nullptr) {
        *seen = hashOf(bytes);
    }
}

void Console::saveHistory() {
    saveFile(history->file(), history->fileBytes(), keepHistoryPending_, nullptr);
}

void Console::loadSettings() {
    bool listLoaded = false;
    try {
        macros.clear();
        // A pair the list did not take (refused, failed, merged) would be gone
        // from the file after the next save, so that save keeps the old file.
        keepListPending_ = !loadList(settingsFile(kListFile), macros, *this, listSeen_);
        listLoaded = true;
        Stat(u"LOAD: List Ok");
        params.clear();
        keepParamPending_ = !loadList(settingsFile(kParamFile), params, *this, paramSeen_);
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
        saveFile(file, encodeFileText(formatSettings(macros)), keepListPending_, &listSeen_);
        file = settingsFile(kParamFile);
        saveFile(file, encodeFileText(formatSettings(params)), keepParamPending_, &paramSeen_);
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
