// The real program on a real X server: how long a start takes until the first
// prompt is on screen, next to rofi and dmenu started the same way; how much
// processor time the console takes while it sits idle; how much memory it holds.
//
// usage: startup_bench --zorlo PATH [--rofi PATH] [--dmenu PATH] [--starts N] [--idle SECONDS]
// DISPLAY names the X server (bench/run.sh starts an Xvfb of its own).
//
// A start is timed from the fork to two moments: the program's first top-level
// window being mapped (seen as a MapNotify on the root window, the same for all
// three programs), and, for zorlo, the text area's first paint with the prompt
// in it (the line "painted" that the front end writes to ZORLO_TEST_LOG).
#include "BenchData.hpp"
#include "Figures.hpp"

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
constexpr std::size_t kHistoryWords = 5000;
constexpr double kStartTargetMs = 100;
constexpr double kIdleTargetPercent = 0.2;
constexpr double kMemoryTargetMb = 40;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Started {
    pid_t pid = -1;
    double mappedMs = -1;
    double paintedMs = -1; // only with a log to watch
};

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

struct Timings {
    std::vector<double> mapped;
    std::vector<double> painted;
};

std::optional<Timings> timeStarts(Display* display, const std::vector<std::string>& command,
                                  const fs::path& input, const fs::path& log, int starts) {
    Timings timings;
    for (int i = 0; i < starts; ++i) {
        const auto started = start(display, command, input, log);
        if (!started) {
            return std::nullopt;
        }
        timings.mapped.push_back(started->mappedMs);
        timings.painted.push_back(started->paintedMs);
        stop(started->pid);
    }
    return timings;
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

} // namespace

int main(int argc, char** argv) {
    fs::path zorlo;
    fs::path rofi;
    fs::path dmenu;
    int starts = 10;
    int idleSeconds = 60;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--zorlo") {
            zorlo = argv[i + 1];
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
    if (zorlo.empty() || display == nullptr) {
        std::fprintf(stderr, "usage: startup_bench --zorlo PATH [--rofi PATH] [--dmenu PATH] "
                             "[--starts N] [--idle SECONDS], with DISPLAY set\n");
        return 2;
    }

    // The program in a folder of its own, a portable copy that keeps its files there.
    bench::ScratchFolder folder("zorlo-bench-start");
    const fs::path program = folder.path() / "zorlo";
    fs::copy_file(zorlo, program);
    std::ofstream(folder.path() / "portable").close();
    std::error_code noBleep;
    fs::copy_file(zorlo.parent_path() / "Bleep.WAV", folder.path() / "Bleep.WAV", noBleep);
    const auto macros = bench::makeMacros(kMacros);
    bench::writeSettingsFolder(folder.path(), macros, bench::makeHistory(kHistoryWords));
    // The other launchers get the same names to show, on their standard input.
    const fs::path items = folder.path() / "items";
    {
        std::ofstream out(items, std::ios::binary);
        for (const auto& pair : macros) {
            out << toUtf8(pair.name) << '\n';
        }
    }
    const fs::path log = folder.path() / "log";
    const fs::path none = "/dev/null";

    int missed = 0;
    const auto own = timeStarts(display, {program.string()}, none, log, starts);
    if (!own) {
        print(false, "start of zorlo: it showed no window with a prompt", missed);
        return 1;
    }
    const double ownPainted = median(own->painted);
    const double ownMapped = median(own->mapped);
    print(ownPainted < kStartTargetMs,
          "start of zorlo to the first prompt on screen, 10,000 macros and 5,000 history "
          "words, Xvfb: median " +
              ms(ownPainted) + " of " + std::to_string(starts) + " (target < " +
              ms(kStartTargetMs) + "); its window mapped after " + ms(ownMapped),
          missed);
    std::string beside = "INFO  the same starts to the window mapped: zorlo " + ms(ownMapped);
    for (const auto& [name, path, args] :
         {std::tuple{std::string("rofi -dmenu"), rofi, std::vector<std::string>{"-dmenu"}},
          std::tuple{std::string("dmenu"), dmenu, std::vector<std::string>{}}}) {
        if (path.empty()) {
            beside += ", " + name + " not installed";
            continue;
        }
        std::vector<std::string> command{path.string()};
        command.insert(command.end(), args.begin(), args.end());
        const auto other = timeStarts(display, command, items, {}, starts);
        if (!other) {
            beside += ", " + name + " showed no window";
            continue;
        }
        const double mapped = median(other->mapped);
        beside += ", " + name + " " + ms(mapped) + " (zorlo/" + name.substr(0, name.find(' ')) +
                  " = " + bench::Verdicts::number(ownMapped / mapped) + ")";
    }
    std::printf("%s; each median of %d, with the same 10,000 names\n", beside.c_str(), starts);

    const auto idle = start(display, {program.string()}, none, log);
    if (!idle) {
        print(false, "idle processor time: the console did not start", missed);
        return 1;
    }
    // Start-up is over after a moment, and the caret stops blinking after ten
    // seconds without input: from then on the console idles as it will for hours.
    std::this_thread::sleep_for(std::chrono::seconds(12));
    const double cpuBefore = cpuSeconds(idle->pid);
    const auto idleBegin = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double percent =
        (cpuSeconds(idle->pid) - cpuBefore) / (msSince(idleBegin) / 1000.0) * 100.0;
    const double memory = residentMb(idle->pid);
    stop(idle->pid);
    print(percent < kIdleTargetPercent,
          "idle processor time of the running console over " + std::to_string(idleSeconds) +
              " s, shown, from 12 s after its start: " + bench::Verdicts::number(percent) +
              "% of one core (target < " + bench::Verdicts::number(kIdleTargetPercent) + "%)",
          missed);
    print(memory > 0 && memory < kMemoryTargetMb,
          "resident memory of the running console with 10,000 macros: " +
              bench::Verdicts::number(memory) + " MB (target < " +
              bench::Verdicts::number(kMemoryTargetMb) + " MB)",
          missed);
    XCloseDisplay(display);
    return missed == 0 ? 0 : 1;
}
