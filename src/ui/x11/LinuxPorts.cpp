#include "platform/posix/PosixFileSystem.hpp"
#include "platform/posix/PosixProcessStarter.hpp"
#include "platform/posix/PosixShell.hpp"
#include "platform/posix/ProgramFolder.hpp"
#include "platform/x11/X11KeyboardState.hpp"
#include "platform/x11/XDisplay.hpp"
#include "ui/NativePorts.hpp"
#include "ui/x11/X11Foreground.hpp"
#include "ui/x11/X11KeyTranslator.hpp"
#include "ui/x11/X11KeyWatch.hpp"

namespace zorlo {

std::filesystem::path settingsFolderFor(const std::filesystem::path& exeFolder) {
    return programFolder(exeFolder);
}

NativePorts makeNativePorts(const std::filesystem::path& exeFolder,
                            const std::filesystem::path& settingsFolder) {
    // One connection for the whole run, shared by the adapters that talk to
    // the X server; it closes when the last of them goes.
    const auto display = std::make_shared<x11::XDisplay>();
    NativePorts ports;
    ports.shell = std::make_unique<PosixShell>();
    ports.processes = std::make_unique<PosixProcessStarter>();
    ports.files = std::make_unique<PosixFileSystem>();
    ports.keyboard = std::make_unique<X11KeyboardState>(display);
    ports.keyWatch = X11KeyWatch::create(display);
    ports.foreground = std::make_unique<X11Foreground>(display);
    ports.keys = std::make_unique<X11KeyTranslator>(display);
    ports.settingsFolder = settingsFolder;
    // Beside the program in a build tree; in share/zorlo once installed.
    ports.bleepFallbacks = {exeFolder / "Bleep.WAV",
                            exeFolder.parent_path() / "share" / "zorlo" / "Bleep.WAV"};
    ports.soundModules = {exeFolder / ZORLO_SOUND_MODULE,
                          exeFolder.parent_path() / ZORLO_MODULE_DIR / ZORLO_SOUND_MODULE};
    return ports;
}

} // namespace zorlo
