// The history file: any bytes load without a crash, one entry per line
// whichever line end (CR LF, CR or LF) the file uses; the searches answer as
// the walk from the cursor does; a save and a load then give back exactly the
// newest 501 entries.
#include "FuzzSupport.hpp"
#include "ReferenceStore.hpp"

#include "cmdline/History.hpp"
#include "store/FileIo.hpp"

#include <fstream>
#include <string>
#include <vector>

using namespace zorlo;
using zorlo::fuzz::check;
using zorlo::fuzz::shown;

namespace {

std::vector<Text> entriesOf(const History& history) {
    std::vector<Text> out;
    for (std::size_t i = 1; i <= history.count(); ++i) {
        out.push_back(history.entry(i));
    }
    return out;
}

std::vector<Text> linesOf(TextView text) {
    std::vector<Text> lines;
    Text line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == CR || text[i] == LF) {
            if (!line.empty()) {
                lines.push_back(line); // an empty line is never an entry
            }
            line.clear();
            if (text[i] == CR && i + 1 < text.size() && text[i + 1] == LF) {
                ++i;
            }
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) {
        lines.push_back(line); // a last line without a line end
    }
    return lines;
}

template <typename Call> std::string outcome(Call&& call) {
    try {
        return "= " + shown(call());
    } catch (const Failure& failure) {
        return "! " + toUtf8(failure.description());
    }
}

// isItem and getHistory with the file's own lines and their beginnings.
void compareSearches(History& history, const std::vector<Text>& entries) {
    reference::History walk;
    walk.entries = entries;
    const std::size_t step = entries.size() / 10 + 1;
    for (std::size_t k = 0; k < entries.size(); k += step) {
        for (const Text& word : {entries[k], Text(TextView(entries[k]).substr(0, 1)),
                                 Text(TextView(entries[k]).substr(0, 3))}) {
            check(outcome([&] { return Text(history.isItem(word) ? u"yes" : u"no"); }) ==
                      outcome([&] { return Text(walk.isItem(word) ? u"yes" : u"no"); }),
                  "isItem differs from the walk for " + shown(word));
            for (int repeat = 0; repeat < 2; ++repeat) {
                check(outcome([&] { return history.getHistory(word); }) ==
                              outcome([&] { return walk.getHistory(word); }) &&
                          history.cursor() == walk.cursor,
                      "getHistory differs from the walk for " + shown(word));
            }
        }
        history.Reset();
        walk.Reset();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto folder = fuzz::freshScratchFolder("zorlo-fuzz-history");
    const auto file = folder / "history";
    {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    History loaded(file);
    loaded.Load();
    const std::vector<Text> entries = entriesOf(loaded);
    const std::vector<Text> lines =
        linesOf(decodeFileBytes(std::string_view(reinterpret_cast<const char*>(data), size)));
    check(entries == lines, "the entries are not the file's lines");

    compareSearches(loaded, entries);

    writeFileBytes(file, loaded.fileBytes());
    History reloaded(file);
    reloaded.Load();
    const std::size_t kept = std::min(entries.size(), History::kSavedEntries);
    const std::vector<Text> newest(entries.end() - static_cast<std::ptrdiff_t>(kept),
                                   entries.end());
    const std::vector<Text> back = entriesOf(reloaded);
    if (back != newest) {
        std::size_t i = 0;
        while (i < back.size() && i < newest.size() && back[i] == newest[i]) {
            ++i;
        }
        fuzz::fail("save and load changed entry " + std::to_string(i + 1) + ": " +
                   (i < newest.size() ? shown(newest[i]) : "(none)") + " came back as " +
                   (i < back.size() ? shown(back[i]) : "(none)"));
    }
    return 0;
}
