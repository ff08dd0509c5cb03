#pragma once

#include <filesystem>

namespace zorlo {

// The settings folder. A portable copy keeps them beside itself, as on
// Windows: its folder holds a file named "portable", or already a zorlo.list.
// Every other copy (an installed one in /usr/bin, a build tree) uses the
// per-user configuration folder, created when missing, so installing never
// scatters settings into a program folder.
std::filesystem::path programFolder(const std::filesystem::path& exeFolder);

bool isPortableFolder(const std::filesystem::path& exeFolder);

// $XDG_CONFIG_HOME, else ~/.config.
std::filesystem::path userConfigHome();
// userConfigHome()/zorlo.
std::filesystem::path userConfigFolder();

} // namespace zorlo
