// The history file: any bytes load without a crash, one entry per line
// whichever line end (CR LF, CR or LF) the file uses; a save and a load then
// give back exactly the newest 501 entries.
#include "FuzzSupport.hpp"

#include "cmdline/History.hpp"

#include <fstream>
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
            lines.push_back(line);
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

    loaded.Save();
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
