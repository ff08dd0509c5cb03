#include "platform/dbus/PortalHotkey.hpp"
#include "platform/gio/GioApplications.hpp"
#include "platform/posix/PosixFileSystem.hpp"
#include "platform/posix/PosixProcessStarter.hpp"
#include "platform/posix/PosixShell.hpp"
#include "platform/posix/ProgramFolder.hpp"
#include "platform/wayland/ActivationToken.hpp"
#include "platform/x11/X11KeyboardState.hpp"
#include "platform/x11/XDisplay.hpp"
#include "ui/NativePorts.hpp"
#include "ui/x11/X11Foreground.hpp"
#include "ui/x11/X11KeyTranslator.hpp"
#include "ui/x11/X11KeyWatch.hpp"

#include <QGuiApplication>

namespace zorlo {

namespace {

// A console whose window is no X11 window sees no key of the desktop: the
// poll reads every key as up, and no key ever changes, so the timer may rest.
class NoKeyWatch : public KeyWatch {
  public:
    void setListener(std::function<void()>) override {}
    void ticked() override {}
};

// The installed applications as GIO reads and watches them.
class GioApplicationsSource : public ApplicationsSource {
  public:
    std::vector<Application> read() override { return GioApplications::read(); }
    void watch(std::function<void()> changed) override {
        watch_ = std::make_unique<GioApplicationsWatch>(std::move(changed));
    }

  private:
    std::unique_ptr<GioApplicationsWatch> watch_;
};

} // namespace

std::filesystem::path settingsFolderFor(const std::filesystem::path& exeFolder) {
    return programFolder(exeFolder);
}

NativePorts makeNativePorts(const std::filesystem::path& exeFolder,
                            const std::filesystem::path& settingsFolder) {
    // One connection for the whole run, shared by the adapters that talk to
    // the X server; it closes when the last of them goes.
    // The key poll and the X11 calls serve an X11 window only.
    const bool onX11 = QGuiApplication::platformName() == QLatin1String("xcb");
    const auto display = std::make_shared<x11::XDisplay>(onX11);
    NativePorts ports;
    ports.shell = std::make_unique<PosixShell>();
    ports.processes = std::make_unique<PosixProcessStarter>();
    ports.files = std::make_unique<PosixFileSystem>();
    ports.keyboard = std::make_unique<X11KeyboardState>(display);
    ports.keyWatch = X11KeyWatch::create(display);
    if (!onX11) {
        ports.keyWatch = std::make_unique<NoKeyWatch>();
    }
    ports.foreground = std::make_unique<X11Foreground>(display);
    ports.keys = std::make_unique<X11KeyTranslator>(display);
    // Native Wayland lets no program read the keyboard: the desktop binds the key.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        ports.hotkeys = std::make_unique<PortalHotkey>(QDBusConnection::sessionBus());
    }
    ports.applications = std::make_unique<GioApplications>(
        [](const std::string& appId) { return wayland::requestActivationToken(appId); });
    ports.applicationsSource = std::make_unique<GioApplicationsSource>();
    ports.settingsFolder = settingsFolder;
    // Beside the program in a build tree; in share/zorlo once installed.
    ports.bleepFallbacks = {exeFolder / "Bleep.WAV",
                            exeFolder.parent_path() / "share" / "zorlo" / "Bleep.WAV"};
    ports.soundModules = {exeFolder / ZORLO_SOUND_MODULE,
                          exeFolder.parent_path() / ZORLO_MODULE_DIR / ZORLO_SOUND_MODULE};
    return ports;
}

} // namespace zorlo
