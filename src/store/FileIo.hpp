#pragma once

#include "text/Text.hpp"

#include <filesystem>
#include <optional>
#include <string>

namespace zorlo {

// Reads a whole file. nullopt when it does not exist; throws Failure when it
// exists but cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// Replaces a file atomically with standard C++ alone: the bytes go to a
// temporary file in the same folder, which is flushed and then renamed over
// the old file, so a crash leaves either the old content or the new, never a
// cut file. The console saves through FileSystem::replaceFile instead, which
// also guards against links and other users and syncs to the disk.
// Throws Failure with a description when any step fails; the old file is then untouched.
void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// A file's name (its last part) as text, for the console's reports.
Text fileNameText(const std::filesystem::path& path);

// The description of a file-system failure, for the console's reports.
Text describeFileError(const std::filesystem::path& path, const std::string& what);

} // namespace zorlo
