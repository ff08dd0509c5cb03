#pragma once

#include "text/Text.hpp"

#include <filesystem>
#include <optional>
#include <string>

namespace zorlo {

// Reads a whole file. nullopt when it does not exist; throws Failure when it
// exists but cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// Replaces a file atomically: the bytes go to a temporary file in the same
// folder, which is flushed and then renamed over the old file, so a crash
// leaves either the old content or the new, never a cut file.
// Throws Failure with a description when any step fails; the old file is then untouched.
void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// Copies a file over another one (or to a new name) atomically, as
// writeFileAtomically does. std::filesystem::copy_file cannot replace a file
// with libstdc++ on Windows: it takes any two files there for the same one.
// Throws Failure with a description; the old target is then untouched.
void copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// A file's name (its last part) as text, for the console's reports.
Text fileNameText(const std::filesystem::path& path);

// The description of a file-system failure, for the console's reports.
Text describeFileError(const std::filesystem::path& path, const std::string& what);

} // namespace zorlo
