#pragma once

#include "text/Text.hpp"

#include <filesystem>
#include <optional>
#include <string>

namespace zorlo {

// Reads a whole file. nullopt when it does not exist; throws Failure when it
// exists but cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// Writes a whole file in place, for tools and tests that make settings files.
// The console never saves this way: FileSystem::replaceFile replaces its files
// atomically, guards against links and other users, and syncs to the disk.
// Throws Failure with a description when the file cannot be written.
void writeFileBytes(const std::filesystem::path& path, const std::string& bytes);

// A file's name (its last part) as text, for the console's reports.
Text fileNameText(const std::filesystem::path& path);

// The description of a file-system failure, for the console's reports.
Text describeFileError(const std::filesystem::path& path, const std::string& what);

} // namespace zorlo
