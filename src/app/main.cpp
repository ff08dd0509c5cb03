#include "AutostartEntry.hpp"
#include "console/SettingsRead.hpp"
#include "platform/posix/Autostart.hpp"
#include "platform/posix/PosixSingleInstance.hpp"
#include "platform/posix/ProgramFolder.hpp"
#include "platform/wayland/ActivationToken.hpp"
#include "ui/EndSignals.hpp"
#include "ui/NativePorts.hpp"
#include "ui/QtFrontEnd.hpp"

#include <QApplication>
#include <QScopeGuard>
#include <QSessionManager>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int kNoDesktop = 2;
constexpr int kBadUsage = 2;
constexpr int kFirstUnreachable = 3;
constexpr int kToggleWaitMs = 10000;

// The console while its event loop runs; the exit-time save needs it.
zorlo::QtFrontEnd* running = nullptr;

// The shutdown where nobody can answer a box. The status: 0 when the save
// worked, 1 when it failed, after saying why on standard error.
int endWhereNobodyAnswers(zorlo::QtFrontEnd& frontEnd) {
    running = nullptr;
    const zorlo::Text failure = frontEnd.endSession();
    if (failure.empty()) {
        return EXIT_SUCCESS;
    }
    std::fprintf(stderr, "zorlo: %s\n", zorlo::toUtf8(failure).c_str());
    std::fflush(stderr);
    return EXIT_FAILURE;
}

// A signal or the session's end: save, then end the process on the spot.
// Returning would go back into whatever the event came through, which may be a
// box's own event loop, and the command that opened the box would go on
// against an engine that has already shut down. Nothing is left to tear down:
// the settings files are complete (written aside and renamed), and the next
// start takes over the single-instance lock and socket of a process that is gone.
[[noreturn]] void endNow(zorlo::QtFrontEnd& frontEnd) {
    const int status = endWhereNobodyAnswers(frontEnd);
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

// Where the display breaks, the toolkit (or Xlib) calls exit() from inside the
// event loop; the session is saved before the process goes, without pumping
// events or touching a widget. The process then ends as after a signal: what
// exit() would still run is the teardown of a toolkit and an Xlib connection
// whose display is gone, and closing that connection calls exit() once more.
extern "C" void saveAtExit() {
    if (running != nullptr) {
        endNow(*running);
    }
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Each line appended to the file that ZORLO_TEST_LOG names, for the tests and
// the start-up benchmark that drive the whole program and wait on what it did.
// The file is opened for every line, so a watcher may empty or replace it
// between two steps.
class FileActivityLog : public zorlo::ActivityLog {
  public:
    explicit FileActivityLog(std::string path) : path_(std::move(path)) {}

    void note(std::string_view line) override {
        std::FILE* file = std::fopen(path_.c_str(), "a");
        if (file == nullptr) {
            return;
        }
        std::fwrite(line.data(), 1, line.size(), file);
        std::fputc('\n', file);
        std::fclose(file);
    }

  private:
    std::string path_;
};

std::unique_ptr<zorlo::ActivityLog> activityLogFromEnvironment() {
    if (!isSet("ZORLO_TEST_LOG")) {
        return nullptr;
    }
    return std::make_unique<FileActivityLog>(std::getenv("ZORLO_TEST_LOG"));
}

// Without a desktop the toolkit would stop with a message about plugins that
// tells a user nothing; say what is needed instead.
bool desktopReachable() {
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

std::filesystem::path runningProgram() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

// The activation token a second start hands over for the console's window:
// the one its launcher gave it (a desktop shortcut, a launcher), else in a
// Wayland session a fresh one; empty where there is none. The variables are
// another program's word and are taken only as plain tokens.
std::string tokenForHandOver() {
    for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && zorlo::wayland::isAcceptableActivationToken(value)) {
            return value;
        }
    }
    return zorlo::wayland::requestActivationToken("zorlo").value_or(std::string());
}

void printHelp() {
    const std::filesystem::path folder =
        zorlo::isPortableFolder(runningProgram().parent_path())
            ? std::filesystem::path("the program's own folder (a portable copy)")
            : zorlo::userConfigFolder();
    std::printf("Usage: zorlo [OPTION]\n"
                "A keyboard launcher: the hotkey (F12 unless changed with 'param key') shows\n"
                "and hides the console; type a macro's name and Enter to open what it names,\n"
                "'help' for the console's commands.\n"
                "\n"
                "  --hidden         start with the console hidden until the hotkey shows it\n"
                "  --autostart-on   start the console, hidden, at every login\n"
                "  --autostart-off  no longer start it at login\n"
                "  -h, --help       show this help and exit\n"
                "  -V, --version    show the version and exit\n"
                "\n"
                "Starting zorlo while its console runs shows or hides that console.\n"
                "Settings (zorlo.list, zorlo.param, history): %s\n",
                folder.c_str());
}

void printVersion() {
    std::printf(
        "zorlo (Zorlo Console) %d.%d.%d\n"
        "Copyright (c) The Zorlo Console authors\n"
        "License: MIT. This is free software: you are free to change and redistribute it.\n",
        ZORLO_VERSION_MAJOR, ZORLO_VERSION_MINOR, ZORLO_VERSION_PATCH);
}

// What the command line asks for: a status to end with at once (an option
// that only prints or configures), or a console to run.
struct Request {
    std::optional<int> status;
    bool hidden = false;
};

Request readOptions(int argc, char* argv[]) {
    if (argc > 2) {
        std::fputs("zorlo: one option at a time\nTry 'zorlo --help' for more information.\n",
                   stderr);
        return {kBadUsage};
    }
    const std::string option = argc == 2 ? argv[1] : "";
    if (option.empty()) {
        return {};
    }
    if (option == "--hidden") {
        return {std::nullopt, true};
    }
    if (option == "-h" || option == "--help") {
        printHelp();
        return {EXIT_SUCCESS};
    }
    if (option == "-V" || option == "--version") {
        printVersion();
        return {EXIT_SUCCESS};
    }
    if (option == "--autostart-on" || option == "--autostart-off") {
        const bool on = option == "--autostart-on";
        const std::string failure =
            on ? zorlo::posix::enableAutostart(kShippedAutostartEntry, runningProgram())
               : zorlo::posix::disableAutostart();
        if (!failure.empty()) {
            std::fprintf(stderr, "zorlo: %s\n", failure.c_str());
            return {EXIT_FAILURE};
        }
        std::printf(on ? "The console will start hidden at login (%s).\n"
                       : "The console will no longer start at login (%s removed).\n",
                    zorlo::posix::autostartEntryFile().c_str());
        return {EXIT_SUCCESS};
    }
    std::fprintf(stderr, "zorlo: unknown option '%s'\nTry 'zorlo --help' for more information.\n",
                 option.c_str());
    return {kBadUsage};
}

} // namespace

int main(int argc, char* argv[]) {
    // Options that only print or configure end here, before any console is
    // reached: they never toggle a running one.
    const Request request = readOptions(argc, argv);
    if (request.status) {
        return *request.status;
    }
    if (!desktopReachable()) {
        std::fprintf(stderr,
                     "zorlo: the console is a desktop window and needs a graphical session\n"
                     "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "To try it without one, run it under a virtual X server:\n"
                     "  xvfb-run -a %s\n",
                     argc > 0 ? argv[0] : "zorlo");
        return kNoDesktop;
    }
    // Before the toolkit: a later start only hands over to the first one and
    // needs none of it, and the first one meanwhile begins reading its macros.
    const std::filesystem::path exeFolder = runningProgram().parent_path();
    const std::filesystem::path settingsFolder = zorlo::settingsFolderFor(exeFolder);
    auto instance = std::make_unique<zorlo::PosixSingleInstance>(settingsFolder);
    if (const auto& refusal = instance->refusal()) {
        std::fprintf(stderr, "zorlo: %s\n", refusal->first.c_str());
        return refusal->second;
    }
    if (!instance->isFirst()) {
        // The start at login finds a console already running: it is there, as asked.
        if (request.hidden) {
            return EXIT_SUCCESS;
        }
        if (instance->toggleRunning(kToggleWaitMs, tokenForHandOver())) {
            return EXIT_SUCCESS;
        }
        if (!instance->handOverProblem().empty()) {
            std::fprintf(stderr, "zorlo: %s\n", instance->handOverProblem().c_str());
        } else {
            std::fputs("zorlo: another console for this folder is running but did not answer\n",
                       stderr);
        }
        return kFirstUnreachable;
    }
    // The macros load on a second core while the toolkit sets up and builds the window.
    auto preload = std::make_unique<zorlo::ListPreload>(settingsFolder);

    // The desktop's name for the program (the Wayland app_id, the desktop
    // file the shell matches its windows with), whatever the binary is called.
    QGuiApplication::setDesktopFileName(QStringLiteral("zorlo"));
    QApplication application(argc, argv);
    // Hiding the console, or closing one of its boxes, must never end the program;
    // only unloading the console window does.
    QApplication::setQuitOnLastWindowClosed(false);
    // The instance's socket notifiers go while the toolkit that runs them is still there.
    const auto instanceGoesFirst = qScopeGuard([&instance] { instance.reset(); });

    // A signal from here on waits until the settings are loaded.
    zorlo::EndSignals endSignals;
    const auto activityLog = activityLogFromEnvironment();
    zorlo::QtFrontEnd frontEnd(zorlo::makeNativePorts(exeFolder, settingsFolder),
                               activityLog ? *activityLog : zorlo::ActivityLog::none());
    frontEnd.console().preloadList(std::move(preload));
    QObject::connect(&frontEnd.frmMain(), &zorlo::FrmMain::unloaded, &application,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    frontEnd.start(request.hidden ? zorlo::QtFrontEnd::StartAs::Hidden
                                  : zorlo::QtFrontEnd::StartAs::Shown);
    // Listening waits a turn of the event loop, so that the window goes out
    // first; a later start meanwhile retries until it is heard.
    QTimer::singleShot(0, instance.get(), [&instance, &frontEnd] {
        if (!instance->listen(
                [&frontEnd](const std::string& token) { frontEnd.togglePressed(token); })) {
            std::fputs("zorlo: cannot listen for later starts; starting the program again will "
                       "not toggle this console\n",
                       stderr);
        }
    });
    if (frontEnd.frmMain().isUnloaded()) {
        return EXIT_SUCCESS;
    }
    endSignals.watch([&frontEnd] { endNow(frontEnd); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &application,
                     [&frontEnd](QSessionManager&) { endNow(frontEnd); });
    running = &frontEnd;
    std::atexit(saveAtExit);
    const int status = QApplication::exec();
    running = nullptr;
    // Something other than the console ended the loop (the session manager
    // told the program to die): the shutdown has not run yet.
    if (!frontEnd.frmMain().isUnloaded()) {
        return endWhereNobodyAnswers(frontEnd);
    }
    return status;
}
