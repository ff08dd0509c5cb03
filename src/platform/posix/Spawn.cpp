#include "platform/posix/Spawn.hpp"

#include "platform/wayland/ActivationToken.hpp"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// POSIX leaves declaring it to the program; glibc declares it only for GNU sources.
extern char** environ; // NOLINT(readability-redundant-declaration)

namespace zorlo::posix {

namespace {

// What the helper processes report back through the pipe.
enum class Report : int { Pid = 1, StartError = 2, Exited = 3 };

struct Message {
    Report kind;
    int value;
};

void send(int fd, Report kind, int value) {
    const Message message{kind, value};
    // Nothing to be done in a forked child if the write fails.
    [[maybe_unused]] const auto written = write(fd, &message, sizeof message);
}

long elapsedMs(const timespec& since) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - since.tv_sec) * 1000L + (now.tv_nsec - since.tv_nsec) / 1000000L;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// What passes of the console's own environment (passesToLaunched), and a
// fresh token where the compositor gave one, under both names: Wayland
// programs read the first, older toolkits the second.
std::vector<std::string> launchedEnvironment(const std::optional<std::string>& token) {
    std::vector<std::string> kept;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (passesToLaunched(*entry)) {
            kept.emplace_back(*entry);
        }
    }
    if (token) {
        kept.push_back("XDG_ACTIVATION_TOKEN=" + *token);
        kept.push_back("DESKTOP_STARTUP_ID=" + *token);
    }
    return kept;
}

std::vector<char*> pointersTo(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    pointers.reserve(words.size() + 1);
    for (auto& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Runs in the forked middle process: only async-signal-safe calls from here on.
[[noreturn]] void runMiddle(int reportFd, const char* program, char* const* argv, char* const* envp,
                            const char* folder, const sigset_t& noSignals, int watchMs) {
    setsid();
    const pid_t grandchild = fork();
    if (grandchild < 0) {
        send(reportFd, Report::StartError, errno);
        _exit(1);
    }
    if (grandchild == 0) {
        sigprocmask(SIG_SETMASK, &noSignals, nullptr);
        if (chdir(folder) != 0) {
            send(reportFd, Report::StartError, errno);
            _exit(127);
        }
        execve(program, argv, envp);
        send(reportFd, Report::StartError, errno);
        _exit(127);
    }
    send(reportFd, Report::Pid, static_cast<int>(grandchild));
    if (watchMs > 0) {
        timespec start{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        int status = 0;
        while (elapsedMs(start) < watchMs) {
            if (waitpid(grandchild, &status, WNOHANG) == grandchild) {
                send(reportFd, Report::Exited,
                     WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
                break;
            }
            poll(nullptr, 0, 10);
        }
    }
    _exit(0);
}

} // namespace

// What describes the console's own start stays with it: an activation token or
// startup id is spent once the console has shown, and a program handed it
// would steal the focus under that old token or end a startup notification
// that is not its own; a Qt platform without a screen (the console run
// headless) would leave a launched Qt program invisible.
bool passesToLaunched(std::string_view variable) {
    return !startsWith(variable, "XDG_ACTIVATION_TOKEN=") &&
           !startsWith(variable, "DESKTOP_STARTUP_ID=") &&
           variable != "QT_QPA_PLATFORM=offscreen" && variable != "QT_QPA_PLATFORM=minimal";
}

Started startDetached(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& folder, int watchMs, const std::string& appId) {
    // Everything the children need is prepared before the fork.
    std::vector<std::string> words;
    words.push_back(program);
    words.insert(words.end(), arguments.begin(), arguments.end());
    const std::vector<char*> argv = pointersTo(words);
    // Asked before the fork: the children may make async-signal-safe calls only.
    std::vector<std::string> environment =
        launchedEnvironment(wayland::requestActivationToken(appId));
    const std::vector<char*> envp = pointersTo(environment);
    sigset_t noSignals;
    sigemptyset(&noSignals);

    Started started;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        started.error = errno;
        return started;
    }
    const pid_t middle = fork();
    if (middle < 0) {
        started.error = errno;
        close(pipeFds[0]);
        close(pipeFds[1]);
        return started;
    }
    if (middle == 0) {
        close(pipeFds[0]);
        runMiddle(pipeFds[1], program.c_str(), argv.data(), envp.data(), folder.c_str(), noSignals,
                  watchMs);
    }
    close(pipeFds[1]);
    Message message{};
    ssize_t got = 0;
    while ((got = read(pipeFds[0], &message, sizeof message)) != 0) {
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (got != static_cast<ssize_t>(sizeof message)) {
            break;
        }
        switch (message.kind) {
        case Report::Pid:
            started.pid = message.value;
            break;
        case Report::StartError:
            started.error = message.value;
            break;
        case Report::Exited:
            started.exitCode = message.value;
            break;
        }
    }
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    return started;
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

std::string findOnPath(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) {
        return {};
    }
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        // An empty entry in PATH means the current folder.
        std::string folder = end > start ? folders.substr(start, end - start) : std::string(1, '.');
        std::string candidate = std::move(folder);
        candidate += '/';
        candidate += name;
        if (isExecutableFile(candidate)) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

} // namespace zorlo::posix
