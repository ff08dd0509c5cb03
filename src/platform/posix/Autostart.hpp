#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zorlo::posix {

// The user's XDG autostart entry for the console:
// $XDG_CONFIG_HOME/autostart/zorlo.desktop, else ~/.config/autostart/zorlo.desktop.
std::filesystem::path autostartEntryFile();

// Writes the autostart entry: the shipped entry's text, with its Exec line
// starting `program --hidden`, so that a copy outside PATH starts too.
// Returns why it could not, empty when it did.
std::string enableAutostart(std::string_view shippedEntry, const std::filesystem::path& program);
// Removes the entry; no entry is no failure. Returns why it could not.
std::string disableAutostart();

// A path as one word of a desktop entry's Exec line (quoted and escaped where needed).
std::string execWord(const std::string& path);

} // namespace zorlo::posix
