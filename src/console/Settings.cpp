#include "console/Console.hpp"

#include "console/SettingsRead.hpp"
#include "store/FileIo.hpp"
#include "store/SettingsFile.hpp"
#include "store/Store.hpp"
#include "text/Failure.hpp"

#include <memory>
#include <utility>

namespace zorlo {

namespace {

// The read begun at start-up when it is of this file, else a read now.
ListRead readList(const std::filesystem::path& file, std::unique_ptr<ListPreload> preload) {
    return preload != nullptr && preload->holds(file) ? preload->take() : readListFile(file);
}

// The list takes over what was read, as if it had read the file itself.
// Returns false when the file holds a pair that the list did not take as its
// own. seen: the hash of the bytes read.
bool takeList(ListRead read, BinList& list, StatusSink& status, std::optional<std::size_t>& seen) {
    for (const Text& report : read.reports) {
        status.stat(report);
    }
    list = std::move(read.list);
    seen = read.seen;
    if (read.failure) {
        std::rethrow_exception(read.failure);
    }
    return read.whole;
}

} // namespace

void Console::preloadList(std::unique_ptr<ListPreload> preload) {
    listPreload_ = std::move(preload);
}

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
        if (onDisk && (pending || !*seen || **seen != hashOfBytes(*onDisk))) {
            keepFile(file, *onDisk);
        }
        pending = false;
    }
    d_.files.replaceFile(file, bytes);
    if (seen != nullptr) {
        *seen = hashOfBytes(bytes);
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
        keepListPending_ = !takeList(readList(settingsFile(kListFile), std::move(listPreload_)),
                                     macros, *this, listSeen_);
        listLoaded = true;
        Stat(u"LOAD: List Ok");
        params.clear();
        keepParamPending_ =
            !takeList(readListFile(settingsFile(kParamFile)), params, *this, paramSeen_);
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
