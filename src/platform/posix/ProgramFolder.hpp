#pragma once

#include <filesystem>

namespace zorlo {

// The settings folder: the program's own folder, as on Windows; where that is
// not writable (an installed program) the per-user configuration folder,
// created when missing.
std::filesystem::path programFolder(const std::filesystem::path& exeFolder);

// $XDG_CONFIG_HOME/zorlo, else ~/.config/zorlo.
std::filesystem::path userConfigFolder();

} // namespace zorlo
