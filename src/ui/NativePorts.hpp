#pragma once

#include "platform/Applications.hpp"
#include "platform/FileSystem.hpp"
#include "platform/HotkeyService.hpp"
#include "platform/KeyboardState.hpp"
#include "platform/ProcessStarter.hpp"
#include "platform/Shell.hpp"
#include "ui/ApplicationsReader.hpp"
#include "ui/Foreground.hpp"
#include "ui/KeyTranslator.hpp"
#include "ui/KeyWatch.hpp"

#include <filesystem>
#include <memory>
#include <vector>

namespace zorlo {

// What the Qt front end needs from the operating system beyond the toolkit.
// Each platform supplies makeNativePorts() in its own source file.
struct NativePorts {
    std::unique_ptr<Shell> shell;
    std::unique_ptr<ProcessStarter> processes;
    std::unique_ptr<FileSystem> files;
    std::unique_ptr<KeyboardState> keyboard;
    // Null where the desktop does not say when keys change.
    std::unique_ptr<KeyWatch> keyWatch;
    std::unique_ptr<Foreground> foreground;
    std::unique_ptr<KeyTranslator> keys;
    // Null where the console's timer samples the key itself.
    std::unique_ptr<HotkeyService> hotkeys;
    // Launches the installed applications; the list reaches the console
    // through its applicationsRead event.
    std::unique_ptr<Applications> applications;
    // Where the list comes from; null where the desktop offers none.
    std::unique_ptr<ApplicationsSource> applicationsSource;
    // Where zorlo.list, zorlo.param and history live.
    std::filesystem::path settingsFolder;
    // Where a shipped Bleep.WAV may be when the settings folder has none.
    std::vector<std::filesystem::path> bleepFallbacks;
    // Where the bleep's player module may be, tried in order.
    std::vector<std::filesystem::path> soundModules;
};

// The settings folder alone: a second start needs no more than this to find
// the console it hands over to. exeFolder: the folder of the running program.
std::filesystem::path settingsFolderFor(const std::filesystem::path& exeFolder);

// settingsFolder: as settingsFolderFor gave it.
NativePorts makeNativePorts(const std::filesystem::path& exeFolder,
                            const std::filesystem::path& settingsFolder);

} // namespace zorlo
