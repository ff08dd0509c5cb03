// The real program on a real X server beside the launchers it is measured
// against: how long a start takes until its window is mapped and how much
// memory it holds then; how long the console takes to its first prompt on
// screen; how much processor time it takes while it sits idle, shown and hidden.
//
// usage: startup_bench --zorlo PATH --bare PATH [--rofi PATH] [--dmenu PATH]
//                      [--starts N] [--idle SECONDS]
// DISPLAY names the X server (bench/run.sh starts an Xvfb of its own).
//
// A start is timed from the fork to the program's first top-level window being
// mapped (seen as a MapNotify on the root window, the same for every program),
// and, for zorlo, to the text area's first paint with the prompt in it (the line
// "painted" that the front end writes to ZORLO_TEST_LOG). The programs take
// turns, one start each per round, so that a slow moment of the machine falls
// on all of them alike.
#include "BenchData.hpp"
#include "Figures.hpp"

#include "store/SettingsFile.hpp"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zorlo;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kMacros = 10000;
constexpr std::size_t kManyMacros = 100000;
constexpr std::size_t kHistoryWords = 5000;
constexpr std::size_t kMenuItems = 2000;
constexpr std::size_t kApplications = 500;
constexpr double kApplicationsRatioTarget = 1.1;
constexpr double kStartTargetMs = 100;
constexpr double kIdleTargetPercent = 0.2;
constexpr double kMemoryTargetMb = 40;
// Against the bare toolkit program and the console's own 10,000-macro figure.
constexpr double kMapRatioTarget = 1.15;
constexpr double kMapMemoryTargetMb = 30;
constexpr double kManyRatioTarget = 3;
constexpr double kManyMemoryTargetMb = 50;

// The pairs in the order the console's save writes them, which is what every
// start but the first reads: the order a load of them gives.
std::vector<bench::Pair> inSavedOrder(const std::vector<bench::Pair>& pairs) {
    struct : StatusSink {
        void stat(const Text&) override {}
    } quiet;
    BinList list;
    readSettingsInto(bench::settingsText(pairs), list, quiet);
    std::vector<bench::Pair> saved;
    for (const BinView bin : list) {
        saved.push_back({Text(bin.NAME), Text(bin.VALUE)});
    }
    return saved;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Started {
    pid_t pid = -1;
    double mappedMs = -1;
    double mappedMb = -1;  // resident memory when the map was seen
    double paintedMs = -1; // only with a log to watch
};

double residentMb(pid_t pid);

bool logSays(const fs::path& log, const std::string& line) {
    std::ifstream in(log);
    std::string read;
    while (std::getline(in, read)) {
        if (read == line) {
            return true;
        }
    }
    return false;
}

// Starts a program with its standard input from a file, and waits until its
// first window is mapped and, when a log is given, until the log says "painted".
std::optional<Started> start(Display* display, const std::vector<std::string>& command,
                             const fs::path& input, const fs::path& log) {
    std::error_code ignored;
    fs::remove(log, ignored);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True); // no map from an earlier start may count

    const auto begin = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open(input.c_str(), O_RDONLY);
        if (in >= 0) {
            dup2(in, STDIN_FILENO);
        }
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        if (!log.empty()) {
            setenv("ZORLO_TEST_LOG", log.c_str(), 1);
        }
        std::vector<char*> argv;
        for (const auto& arg : command) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    Started started;
    started.pid = pid;
    const int fd = ConnectionNumber(display);
    while (msSince(begin) < 20000) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root && started.mappedMs < 0) {
                started.mappedMs = msSince(begin);
                started.mappedMb = residentMb(pid);
            }
        }
        if (!log.empty() && started.paintedMs < 0 && logSays(log, "painted")) {
            started.paintedMs = msSince(begin);
        }
        if (started.mappedMs >= 0 && (log.empty() || started.paintedMs >= 0)) {
            XSelectInput(display, root, NoEventMask);
            return started;
        }
        pollfd wait{fd, POLLIN, 0};
        poll(&wait, 1, 1);
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return std::nullopt; // it ended before it showed anything
        }
    }
    XSelectInput(display, root, NoEventMask);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return std::nullopt;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One program as the benchmark starts it, and what its starts measured.
struct Program {
    Program(std::string title, std::vector<std::string> line, fs::path from = "/dev/null",
            fs::path watched = {})
        : name(std::move(title)), command(std::move(line)), input(std::move(from)),
          log(std::move(watched)) {}

    std::string name;
    std::vector<std::string> command;
    fs::path input;
    fs::path log; // zorlo's, to see its first paint
    std::vector<double> mapped;
    std::vector<double> memory;
    std::vector<double> painted;
    bool failed = false;
};

// Every program once per round, `starts` rounds.
void timeStarts(Display* display, std::vector<Program>& programs, int starts) {
    for (int round = 0; round < starts; ++round) {
        for (Program& program : programs) {
            if (program.failed) {
                continue;
            }
            const auto started = start(display, program.command, program.input, program.log);
            if (!started) {
                program.failed = true;
                continue;
            }
            program.mapped.push_back(started->mappedMs);
            program.memory.push_back(started->mappedMb);
            program.painted.push_back(started->paintedMs);
            stop(started->pid);
        }
    }
}

// Processor time of a process so far, in seconds: the scheduler's own count
// for each of its threads, finer than the clock ticks of /proc/PID/stat.
// User and system time of the whole process, threads that have ended
// included (a sum over the live threads would drop those, and Qt ends idle
// pool threads after a while). In clock ticks: over a minute that is fine
// enough for a target of a fifth of a percent.
double cpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The command name may hold blanks; the fields after it are counted from its ")".
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return 0;
    }
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    double ticks = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14 || number == 15) { // utime, stime
            ticks += std::stod(field);
        }
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double residentMb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return -1;
}

void print(bool pass, const std::string& text, int& missed) {
    std::printf("%s  %s\n", pass ? "PASS" : "MISS", text.c_str());
    std::fflush(stdout);
    missed += pass ? 0 : 1;
}

std::string ms(double value) {
    return bench::Verdicts::number(value) + " ms";
}

// Starts a program without waiting for a window (a console that starts hidden
// shows none).
pid_t launch(const std::vector<std::string>& command) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::vector<char*> argv;
        for (const auto& arg : command) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// A portable copy of the program in a folder of its own, which keeps its files there.
fs::path portableCopy(const fs::path& zorlo, const fs::path& folder) {
    fs::create_directories(folder);
    const fs::path program = folder / "zorlo";
    fs::copy_file(zorlo, program);
    std::ofstream(folder / "portable").close();
    // The bleep and its player, where the build puts them beside the program.
    for (const char* beside : {"Bleep.WAV", "zorlo-sound.so"}) {
        std::error_code none;
        fs::copy_file(zorlo.parent_path() / beside, folder / beside, none);
    }
    return program;
}

std::string mb(double value) {
    return bench::Verdicts::number(value) + " MB";
}

} // namespace

int main(int argc, char** argv) {
    fs::path zorlo;
    fs::path bare;
    fs::path rofi;
    fs::path dmenu;
    int starts = 11;
    int idleSeconds = 60;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--zorlo") {
            zorlo = argv[i + 1];
        } else if (option == "--bare") {
            bare = argv[i + 1];
        } else if (option == "--rofi") {
            rofi = argv[i + 1];
        } else if (option == "--dmenu") {
            dmenu = argv[i + 1];
        } else if (option == "--starts") {
            starts = std::stoi(argv[i + 1]);
        } else if (option == "--idle") {
            idleSeconds = std::stoi(argv[i + 1]);
        }
    }
    Display* display = XOpenDisplay(nullptr);
    if (zorlo.empty() || bare.empty() || display == nullptr) {
        std::fprintf(stderr, "usage: startup_bench --zorlo PATH --bare PATH [--rofi PATH] "
                             "[--dmenu PATH] [--starts N] [--idle SECONDS], with DISPLAY set\n");
        return 2;
    }

    bench::ScratchFolder scratch("zorlo-bench-start");
    const fs::path& root = scratch.path();
    const auto macros = bench::makeMacros(kManyMacros);
    const auto history = bench::makeHistory(kHistoryWords);
    const std::vector<bench::Pair> some(macros.begin(), macros.begin() + kMacros);
    const fs::path program = portableCopy(zorlo, root / "some");
    bench::writeSettingsFolder(root / "some", inSavedOrder(some), history);
    const fs::path many = portableCopy(zorlo, root / "many");
    bench::writeSettingsFolder(root / "many", inSavedOrder(macros), history);
    // No settings at all: the console starts on its defaults.
    const fs::path empty = portableCopy(zorlo, root / "empty");
    // The desktop's applications: none, or 500 entries, which the console reads
    // after its first frame; both starts go through env so that they differ in
    // nothing else.
    const fs::path noApps = root / "no-apps";
    const fs::path apps = root / "apps";
    fs::create_directories(noApps / "applications");
    fs::create_directories(apps / "applications");
    for (std::size_t i = 0; i < kApplications; ++i) {
        std::ofstream out(apps / "applications" / ("bench-app-" + std::to_string(i) + ".desktop"));
        out << "[Desktop Entry]\nType=Application\nName=Bench Application " << i
            << "\nExec=/bin/true %F\n";
    }
    const auto withData = [&many](const fs::path& data) {
        return std::vector<std::string>{"/usr/bin/env", "XDG_DATA_HOME=" + data.string(),
                                        "XDG_DATA_DIRS=" + data.string(), many.string()};
    };
    // The menus get names to show on their standard input.
    const fs::path items = root / "items";
    {
        std::ofstream out(items, std::ios::binary);
        for (std::size_t i = 0; i < kMenuItems; ++i) {
            out << toUtf8(macros[i].name) << '\n';
        }
    }

    std::vector<Program> programs;
    const fs::path none = "/dev/null";
    programs.emplace_back("zorlo, 10,000 macros + 5,000 history", std::vector{program.string()},
                          none, root / "some.log");
    programs.emplace_back("zorlo, empty settings", std::vector{empty.string()}, none,
                          root / "empty.log");
    programs.emplace_back("zorlo, 100,000 macros + 5,000 history", withData(noApps), none,
                          root / "many.log");
    programs.emplace_back("bare Qt 6 Widgets (QTextEdit, show)", std::vector{bare.string()});
    if (!rofi.empty()) {
        programs.emplace_back("rofi -dmenu, 2,000 entries",
                              std::vector<std::string>{rofi.string(), "-dmenu"}, items);
    }
    if (!dmenu.empty()) {
        programs.emplace_back("dmenu, 2,000 entries", std::vector{dmenu.string()}, items);
    }
    programs.emplace_back("zorlo, as above + 500 applications", withData(apps), none,
                          root / "apps.log");
    timeStarts(display, programs, starts);

    int missed = 0;
    for (const Program& p : programs) {
        if (p.failed) {
            print(false, "start of " + p.name + ": it showed no window", missed);
            return 1;
        }
    }
    const Program& own = programs[0];
    const Program& ownMany = programs[2];
    const Program& floor = programs[3];
    const double floorMs = median(floor.mapped);
    std::printf("INFO  start to the window mapped, median of %d interleaved starts each "
                "(Xvfb, no window manager):\n",
                starts);
    for (const Program& p : programs) {
        std::printf("INFO    %-40s %7s  %5sx bare Qt  %8s resident at map\n", p.name.c_str(),
                    ms(median(p.mapped)).c_str(),
                    bench::Verdicts::number(median(p.mapped) / floorMs).c_str(),
                    mb(median(p.memory)).c_str());
    }
    std::fflush(stdout);

    const double ownMapped = median(own.mapped);
    const double ownMemory = median(own.memory);
    print(ownMapped <= kMapRatioTarget * floorMs,
          "zorlo with 10,000 macros and 5,000 history words to its window mapped: " +
              bench::Verdicts::number(ownMapped / floorMs) +
              "x the bare Qt program (target <= " + bench::Verdicts::number(kMapRatioTarget) + "x)",
          missed);
    print(ownMemory <= kMapMemoryTargetMb,
          "its resident memory at that moment: " + mb(ownMemory) +
              " (target <= " + mb(kMapMemoryTargetMb) + ")",
          missed);
    const double manyMapped = median(ownMany.mapped);
    const double manyMemory = median(ownMany.memory);
    print(manyMapped < kManyRatioTarget * ownMapped && manyMemory < kManyMemoryTargetMb,
          "zorlo with 100,000 macros to its window mapped: " +
              bench::Verdicts::number(manyMapped / ownMapped) +
              "x the 10,000-macro start (target < " + bench::Verdicts::number(kManyRatioTarget) +
              "x), " + mb(manyMemory) + " resident (target < " + mb(kManyMemoryTargetMb) + ")",
          missed);
    const double appsMapped = median(programs.back().mapped);
    print(appsMapped <= kApplicationsRatioTarget * manyMapped,
          "zorlo with 100,000 macros and 500 installed applications to its window mapped: " +
              bench::Verdicts::number(appsMapped / manyMapped) +
              "x the same start without applications (target <= " +
              bench::Verdicts::number(kApplicationsRatioTarget) + "x: they are read afterwards)",
          missed);
    const double ownPainted = median(own.painted);
    print(ownPainted < kStartTargetMs,
          "start of zorlo to the first prompt on screen, 10,000 macros and 5,000 history "
          "words: median " +
              ms(ownPainted) + " (target < " + ms(kStartTargetMs) + ")",
          missed);

    // Both idle at once, each on a folder of its own: an idle console leaves
    // the machine to the other.
    const auto shown = start(display, {program.string()}, "/dev/null", own.log);
    const pid_t hidden = launch({many.string(), "--hidden"});
    if (!shown || hidden < 0) {
        print(false, "idle processor time: the console did not start", missed);
        if (hidden > 0) {
            stop(hidden);
        }
        return 1;
    }
    // Start-up is over after a moment, and the caret stops blinking after ten
    // seconds without input: from then on the console idles as it will for hours.
    std::this_thread::sleep_for(std::chrono::seconds(12));
    const double shownBefore = cpuSeconds(shown->pid);
    const double hiddenBefore = cpuSeconds(hidden);
    const auto idleBegin = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double seconds = msSince(idleBegin) / 1000.0;
    const double shownPercent = (cpuSeconds(shown->pid) - shownBefore) / seconds * 100.0;
    const double hiddenPercent = (cpuSeconds(hidden) - hiddenBefore) / seconds * 100.0;
    const double memory = residentMb(shown->pid);
    // A later start only hands the press over to the running console, as a
    // key bound to the program does on Wayland: what that toggle costs.
    std::vector<double> toggles;
    for (int i = 0; i < starts; ++i) {
        const auto begin = Clock::now();
        int status = 0;
        if (waitpid(launch({program.string()}), &status, 0) > 0 && WIFEXITED(status) &&
            WEXITSTATUS(status) == 0) {
            toggles.push_back(msSince(begin));
        }
    }
    stop(shown->pid);
    stop(hidden);
    for (const auto& [how, percent] :
         {std::pair{"shown, 10,000 macros", shownPercent},
          std::pair{"hidden from its start, 100,000 macros", hiddenPercent}}) {
        print(percent < kIdleTargetPercent,
              std::string("idle processor time of the running console, ") + how + ", over " +
                  std::to_string(idleSeconds) +
                  " s from 12 s after its start: " + bench::Verdicts::number(percent) +
                  "% of one core (target < " + bench::Verdicts::number(kIdleTargetPercent) + "%)",
              missed);
    }
    if (toggles.size() != static_cast<std::size_t>(starts)) {
        print(false, "a later start did not hand over to the running console", missed);
    } else {
        std::printf("INFO  a later start handing over to the running console (a toggle): "
                    "median %s, %sx the console's own start\n",
                    ms(median(toggles)).c_str(),
                    bench::Verdicts::number(median(toggles) / ownMapped).c_str());
    }
    print(memory > 0 && memory < kMemoryTargetMb,
          "resident memory of the running console with 10,000 macros, idle after its bleep: " +
              mb(memory) + " (target < " + mb(kMemoryTargetMb) + ")",
          missed);
    XCloseDisplay(display);
    return missed == 0 ? 0 : 1;
}
