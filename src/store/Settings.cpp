#include "console/Console.hpp"

#include "store/FileIo.hpp"
#include "store/SettingsFile.hpp"
#include "store/Store.hpp"
#include "text/Failure.hpp"

namespace zorlo {

namespace {

constexpr TextView kListFile = u"zorlo.list";
constexpr TextView kParamFile = u"zorlo.param";

void loadList(const std::filesystem::path& file, BinList& list, StatusSink& status) {
    const auto bytes = readFileBytes(file);
    if (!bytes) {
        const auto name = file.filename().u8string();
        throw Failure(u"File not found: " + fromUtf8(std::string(name.begin(), name.end())));
    }
    SettingsReader reader(decodeFileBytes(*bytes));
    while (!reader.atEnd()) {
        Text name = reader.readField();
        const Text value = reader.readField();
        addItem(list, name, value, status);
    }
}

} // namespace

void Console::keepUnreadFile(bool& pending, const std::filesystem::path& file) {
    if (!pending) {
        return;
    }
    pending = false;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return;
    }
    auto kept = file;
    kept += ".bad";
    std::filesystem::copy_file(file, kept, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
        throw Failure(describeFileError(kept, ec.message()));
    }
    const auto name = file.filename().u8string();
    const Text shown = fromUtf8(std::string(name.begin(), name.end()));
    Stat(u"Kept the old " + shown + u" as " + shown + u".bad");
}

void Console::loadSettings() {
    bool listLoaded = false;
    try {
        macros.clear();
        loadList(settingsFile(kListFile), macros, *this);
        listLoaded = true;
        Stat(u"LOAD: List Ok");
        params.clear();
        loadList(settingsFile(kParamFile), params, *this);
        applyGeometry();
        history->Load();
        Stat(u"LOAD: Param Ok");
    } catch (const Failure& failure) {
        Stat(u"LOAD: Error (" + failure.description() + u"), Set defaults");
        setDefaults();
        // What was not loaded must not be replaced unseen by the next save.
        keepListPending_ = !listLoaded;
        keepParamPending_ = true;
        auto kept = settingsFile(u"history");
        kept += ".bad";
        history->keepBeforeNextSave(kept);
    }
}

void Console::saveSettings() {
    try {
        if (maximized) {
            minWindow();
        }
        storeGeometry();
        const auto listFile = settingsFile(kListFile);
        keepUnreadFile(keepListPending_, listFile);
        writeFileAtomically(listFile, encodeFileText(formatSettings(macros)));
        const auto paramFile = settingsFile(kParamFile);
        keepUnreadFile(keepParamPending_, paramFile);
        writeFileAtomically(paramFile, encodeFileText(formatSettings(params)));
        history->Save();
        Stat(u"SAVE: Ok");
    } catch (const Failure& failure) {
        Stat(u"SAVE: Error (" + failure.description() + u")");
    }
}

} // namespace zorlo
