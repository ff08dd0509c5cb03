#include "ui/NativePorts.hpp"
#include "ui/QtFrontEnd.hpp"
#include "ui/SingleInstance.hpp"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kNoDesktop = 2;
constexpr int kFirstUnreachable = 3;
constexpr int kToggleWaitMs = 10000;

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Without a desktop the toolkit would stop with a message about plugins that
// tells a user nothing; say what is needed instead.
bool desktopReachable() {
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char* argv[]) {
    if (!desktopReachable()) {
        std::fprintf(stderr,
                     "zorlo: the console is a desktop window and needs a graphical session\n"
                     "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "To try it without one, run it under a virtual X server:\n"
                     "  xvfb-run -a %s\n",
                     argc > 0 ? argv[0] : "zorlo");
        return kNoDesktop;
    }
    QApplication application(argc, argv);
    // Hiding the console, or closing one of its boxes, must never end the program;
    // only unloading the console window does.
    QApplication::setQuitOnLastWindowClosed(false);

    const std::filesystem::path exeFolder(QCoreApplication::applicationDirPath().toStdU16String());
    // A second start only hands over to the first; it opens nothing else.
    const std::filesystem::path settingsFolder = zorlo::settingsFolderFor(exeFolder);
    zorlo::SingleInstance instance(settingsFolder);
    if (!instance.isFirst()) {
        if (instance.askFirstToToggle(kToggleWaitMs)) {
            return EXIT_SUCCESS;
        }
        std::fputs("zorlo: another console for this folder is running but did not answer\n",
                   stderr);
        return kFirstUnreachable;
    }

    zorlo::QtFrontEnd frontEnd(zorlo::makeNativePorts(exeFolder, settingsFolder));
    QObject::connect(&frontEnd.frmMain(), &zorlo::FrmMain::unloaded, &application,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    frontEnd.start();
    if (!instance.listen([&frontEnd] { frontEnd.togglePressed(); })) {
        std::fputs("zorlo: cannot listen for later starts; starting the program again will "
                   "not toggle this console\n",
                   stderr);
    }
    if (frontEnd.frmMain().isUnloaded()) {
        return EXIT_SUCCESS;
    }
    return QApplication::exec();
}
