#pragma once

#include <filesystem>

namespace zorlo::win32 {

// The folder of the running executable.
std::filesystem::path executableFolder();

// Whether a file can be created in the folder right now.
bool isWritableFolder(const std::filesystem::path& folder);

// The settings live beside the executable, as they always have; an installed
// copy (for instance under Program Files) cannot write there, so it keeps them
// in <appData>\Zorlo, which is created when missing. So does a copy in a
// folder that other users can write.
std::filesystem::path chooseSettingsFolder(const std::filesystem::path& executableFolder,
                                           const std::filesystem::path& appDataFolder);

// chooseSettingsFolder for this executable and the user's roaming application data.
std::filesystem::path settingsFolder();

} // namespace zorlo::win32
