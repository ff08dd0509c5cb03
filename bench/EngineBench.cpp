// The engine's hot paths on the fake desktop, at the sizes where the plain
// walks of the store and the history stop being instant.
#include "BenchData.hpp"
#include "Figures.hpp"
#include "ReferenceStore.hpp"

#include "console/Console.hpp"
#include "platform/KeyCodes.hpp"
#include "platform/fake/FakeDesktop.hpp"
#include "platform/posix/PosixFileSystem.hpp"
#include "store/SettingsFile.hpp"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <type_traits>

using namespace zorlo;
namespace fs = std::filesystem;

namespace {

// A write of the filling line (36 characters with indent and line break) from
// below this cannot pass 64,000, so the pane fills without being cut.
constexpr int kAlmostFull = 63950;

constexpr std::size_t kBig = 100000;
constexpr std::size_t kCompared = 20000;
constexpr std::size_t kHistoryWords = 5000;

class QuietStatus : public StatusSink {
  public:
    void stat(const Text&) override {}
};

// A console on the fake desktop, started on its settings folder.
struct Session {
    explicit Session(const fs::path& folder) : desk(folder), console(desk.desktop()) {
        desk.attach(&console);
        console.formLoad();
    }
    // The line typed (pasted at once) and Enter, as the user enters it.
    void enter(const Text& line) {
        desk.textArea.replaceSelection(line);
        int key = vk::Enter;
        console.textKeyDown(key, ShiftState::None);
        desk.textArea.insertLineBreak();
        console.textKeyUp(vk::Enter, ShiftState::None);
    }
    ~Session() { desk.attach(nullptr); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    FakeDesktop desk;
    Console console;
};

// One folder per size, written once for every benchmark that needs it.
const fs::path& folderWith(std::size_t macros) {
    static std::map<std::size_t, std::unique_ptr<bench::ScratchFolder>> folders;
    auto& folder = folders[macros];
    if (!folder) {
        folder = std::make_unique<bench::ScratchFolder>("zorlo-bench-" + std::to_string(macros));
        bench::writeSettingsFolder(folder->path(), bench::makeMacros(macros),
                                   bench::makeHistory(kHistoryWords));
    }
    return folder->path();
}

// The same macros as the console saves them, in list order: what every
// start after the first one loads.
const fs::path& savedFolderWith(std::size_t macros) {
    static std::map<std::size_t, std::unique_ptr<bench::ScratchFolder>> folders;
    auto& folder = folders[macros];
    if (!folder) {
        folder =
            std::make_unique<bench::ScratchFolder>("zorlo-bench-saved-" + std::to_string(macros));
        const fs::path& from = folderWith(macros);
        for (const char* name : {"zorlo.list", "zorlo.param", "history"}) {
            fs::copy_file(from / name, folder->path() / name);
        }
        Session session(folder->path());
        session.console.saveSettings();
    }
    return folder->path();
}

// What a load cannot do without: the file read into memory and decoded.
void readDecode(benchmark::State& state) {
    const fs::path file = savedFolderWith(kBig) / "zorlo.list";
    for (auto _ : state) {
        Text text = decodeFileBytes(readFileBytes(file).value_or(""));
        benchmark::DoNotOptimize(text.data());
    }
}

void loadConsole(benchmark::State& state, bool saved) {
    Session session(saved ? savedFolderWith(kBig) : folderWith(kBig));
    // Each load first releases the list it replaces, as a reload does.
    for (auto _ : state) {
        session.console.loadSettings();
        benchmark::DoNotOptimize(session.console.macroList().count());
    }
    if (session.console.macroList().count() != kBig) {
        state.SkipWithError("the load lost macros");
    }
}

// The list part of a load, the same for the index and for the walk: read the
// file, decode it, add its pairs.
template <typename List> void loadList(benchmark::State& state) {
    const fs::path file = folderWith(kCompared) / "zorlo.list";
    QuietStatus quiet;
    std::vector<List> loaded;
    for (auto _ : state) {
        Text text = decodeFileBytes(readFileBytes(file).value_or(""));
        loaded.emplace_back();
        if constexpr (std::is_same_v<List, BinList>) {
            readSettingsInto(std::move(text), loaded.back(), quiet);
        } else {
            reference::readSettingsInto(text, loaded.back(), quiet);
        }
    }
}

void save(benchmark::State& state) {
    Session session(folderWith(kBig));
    for (auto _ : state) {
        session.console.saveSettings();
    }
}

void dispatch(benchmark::State& state) {
    Session session(folderWith(kBig));
    // The command word and ten arguments, all macro names typed in capitals:
    // each argument is replaced by its macro's value.
    Text line;
    for (std::size_t i = 0; i <= 10; ++i) {
        Text name(session.console.macroList().at(1 + (i * 7919) % kBig).NAME);
        for (auto& c : name) {
            c = upperCase(c);
        }
        line += (i == 0 ? Text() : Text(u" ")) + name;
    }
    for (auto _ : state) {
        session.enter(line);
    }
    if (session.desk.textArea.text().find(u"Unknown macro") != Text::npos) {
        state.SkipWithError("the command word named no macro");
    }
}

// Esc at the end of a command line, over and over: each press offers the next
// macro that begins with the word, then the history's entries.
void completion(benchmark::State& state, const Text& commandLine) {
    Session session(folderWith(kBig));
    session.desk.textArea.replaceSelection(commandLine);
    for (auto _ : state) {
        session.console.textKeyUp(vk::Escape, ShiftState::None);
        if (session.desk.label.caption().ends_with(u"from HISTORY")) {
            // The cycle ran through: any other key's release starts it again.
            session.console.textKeyUp(vk::Shift, ShiftState::None);
        }
    }
}

void historyAddSave(benchmark::State& state) {
    const auto file = folderWith(kBig) / "history";
    History history(file);
    history.Load();
    // The console saves through this adapter: a fresh file, synced, renamed.
    PosixFileSystem files;
    std::size_t n = 0;
    for (auto _ : state) {
        history.addHistory(u"new-word-" + toText(static_cast<long long>(++n)));
        files.replaceFile(file, history.fileBytes());
    }
}

void paneWrites(benchmark::State& state) {
    Session session(folderWith(kCompared));
    const Console::BusyGuard running(session.console); // output while a command runs
    while (session.desk.textArea.length() < kAlmostFull) {
        session.console.writeOutput(u"Filling the pane up to its limit");
    }
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            session.console.writeOutput(u"Execute notepad: Success");
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    using benchmark::kMillisecond;
    benchmark::RegisterBenchmark("readDecode100k", readDecode)->Unit(kMillisecond)->Repetitions(5);
    benchmark::RegisterBenchmark("load100k", loadConsole, true)->Unit(kMillisecond)->Repetitions(5);
    benchmark::RegisterBenchmark("load100kShuffled", loadConsole, false)
        ->Unit(kMillisecond)
        ->Repetitions(5);
    benchmark::RegisterBenchmark("loadList20k", loadList<BinList>)
        ->Unit(kMillisecond)
        ->Repetitions(5);
    benchmark::RegisterBenchmark("loadList20kWalk", loadList<reference::List>)
        ->Unit(kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("save100k", save)->Unit(kMillisecond)->Repetitions(5);
    benchmark::RegisterBenchmark("dispatch100k", dispatch)->Repetitions(5);
    benchmark::RegisterBenchmark("completionMatch", completion, Text(u"edit no"))->Repetitions(5);
    benchmark::RegisterBenchmark("completionNoMatch", completion, Text(u"edit qqqzz"))
        ->Repetitions(5);
    benchmark::RegisterBenchmark("historyAddSave", historyAddSave)->Repetitions(5);
    benchmark::RegisterBenchmark("paneWrites", paneWrites)->Unit(kMillisecond)->Repetitions(5);

    bench::Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    bench::Verdicts verdicts(collector);
    verdicts.atMostTimes("load100k", "readDecode100k",
                         "load of 100,000 macros as the console saves them, against reading and "
                         "decoding the same zorlo.list",
                         2);
    verdicts.atMostTimes("load100kShuffled", "readDecode100k",
                         "load of 100,000 macros in random order, against the same", 0);
    verdicts.fasterThan("loadList20k", "loadList20kWalk",
                        "load of 20,000 macros, index against the reference walk", 50);
    verdicts.under("save100k", "save of 100,000 macros", 100);
    verdicts.under("dispatch100k",
                   "dispatch of a line with 10 arguments against 100,000 macros (launch faked)", 1);
    verdicts.under("completionMatch",
                   "one completion step against 100,000 macros, a word with matches", 1);
    verdicts.under("completionNoMatch",
                   "one completion step against 100,000 macros, a word matching none", 1);
    verdicts.under("historyAddSave", "addHistory + Save with 5,000 history entries", 5);
    verdicts.under("paneWrites",
                   "1,000 writes of one line into a full pane (engine, fake text area)", 50);
    benchmark::Shutdown();
    return verdicts.exitCode();
}
