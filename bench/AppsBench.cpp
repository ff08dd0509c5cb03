// Completion with the desktop's applications behind 100,000 macros and the
// history, and what their index costs in memory.
#include "BenchData.hpp"
#include "Figures.hpp"

#include "console/Console.hpp"
#include "platform/KeyCodes.hpp"
#include "platform/fake/FakeDesktop.hpp"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>

using namespace zorlo;

namespace {

constexpr std::size_t kMacros = 100000;
constexpr std::size_t kApps = 500;

Text ascii(const std::string& text) {
    return Text(text.begin(), text.end());
}

// Display names of one or two words, a desktop file id and a program name
// each, as a desktop lists them; one in ten begins with a digit ("3D
// Viewer"), which no generated macro does, so completion reaches them only
// after the macros and the history have had their say.
std::vector<Application> makeApps(std::size_t count) {
    static const char* const kWords[] = {
        "Text",  "Editor", "Files", "Terminal", "Mail",  "Music",    "Video", "Photo",
        "Paint", "Office", "Web",   "Browser",  "Chat",  "Maps",     "Notes", "Clock",
        "Disk",  "Usage",  "Image", "Viewer",   "Sound", "Recorder", "Tasks", "Games",
    };
    std::mt19937 random(20261207);
    std::vector<Application> apps;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        std::string name = i % 10 == 0 ? "3D " : "";
        name += kWords[random() % std::size(kWords)];
        name += std::string(" ") + kWords[random() % std::size(kWords)] + " " + n;
        std::string id = "org.vendor" + n + ".App" + n;
        apps.push_back(Application{ascii(name),
                                   {ascii(id), ascii("app-" + n)},
                                   ascii("/usr/share/applications/" + id + ".desktop"),
                                   ascii(id)});
    }
    return apps;
}

// The macros and history written once for every session.
const std::filesystem::path& settingsFolder() {
    static const bench::ScratchFolder folder("zorlo-bench-apps");
    static const bool written = [] {
        bench::writeSettingsFolder(folder.path(), bench::makeMacros(kMacros),
                                   bench::makeHistory(5000));
        return true;
    }();
    (void)written;
    return folder.path();
}

struct Session {
    Session() : desk(settingsFolder()), console(desk.desktop()) {
        desk.attach(&console);
        console.formLoad();
        console.applicationsRead(makeApps(kApps));
    }
    ~Session() { desk.attach(nullptr); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    FakeDesktop desk;
    Console console;
};

// One session per command line for all of a benchmark's runs: a load of
// 100,000 macros per run would cost far more than the steps measured.
std::map<Text, std::unique_ptr<Session>>& sessions() {
    static std::map<Text, std::unique_ptr<Session>> kept;
    return kept;
}

// Esc over and over at the end of the line; where the cycle rests (the
// status stays as it was), another key's release starts it again. Before the
// clock runs, the cycle is walked to its first application, so that even a
// short run measures steps that reach them.
void completion(benchmark::State& state, const Text& commandLine) {
    auto& kept = sessions()[commandLine];
    if (!kept) {
        kept = std::make_unique<Session>();
        kept->desk.textArea.replaceSelection(commandLine);
    }
    Session& session = *kept;
    const auto step = [&session] {
        const Text before = session.desk.label.caption();
        session.console.textKeyUp(vk::Escape, ShiftState::None);
        if (session.desk.label.caption() == before) {
            session.console.textKeyUp(vk::Shift, ShiftState::None);
        }
    };
    for (std::size_t i = 0; i < kMacros && !session.desk.label.caption().ends_with(u"from APPS");
         ++i) {
        step();
    }
    if (!session.desk.label.caption().ends_with(u"from APPS")) {
        state.SkipWithError("no application was offered");
    }
    for (auto _ : state) {
        step();
    }
}

// The index alone, filled as applicationsRead fills it.
std::size_t indexBytes() {
    AppIndex index;
    index.assign(makeApps(kApps));
    return index.bytes();
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("appsOnly", completion, Text(u"edit 3d"))->Repetitions(5);
    benchmark::RegisterBenchmark("appsAfterAll", completion, Text(u"edit te"))->Repetitions(5);

    bench::Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    sessions().clear(); // while their settings folder still exists

    bench::Verdicts verdicts(collector);
    verdicts.under("appsOnly",
                   "one completion step, 500 apps behind 100,000 macros, a word only apps begin",
                   1);
    verdicts.under("appsAfterAll",
                   "one completion step, 500 apps behind 100,000 macros and history, a common word",
                   1);
    verdicts.below("the index of 500 applications", static_cast<double>(indexBytes()) / 1024.0,
                   2048.0, "KiB");
    benchmark::Shutdown();
    return verdicts.exitCode();
}
