#pragma once

#include "text/Text.hpp"

#include <cstdint>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>

namespace zorlo {

// What the engine asks of the file system besides reading: whether a folder
// exists, and the writing of its own files, which needs calls that standard
// C++ lacks (exclusive creation, no links followed, modes, syncing).
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual bool folderExists(const Text& path) const = 0;

    // Replaces a file whole, so that a crash or a power loss leaves the old
    // content or the new, and nobody else can redirect the write: the bytes go
    // to a fresh file beside it, created exclusively for the owner alone,
    // synced, then renamed over it. A file that is a link stays one: the
    // write goes to where it points. The file keeps its access rights; a new
    // one is for the owner alone. A folder that other users can write is
    // refused. Throws Failure with a description; the old file is then untouched.
    virtual void replaceFile(const std::filesystem::path& file, const std::string& bytes) = 0;

    // Writes a new file under exactly this name, for the owner alone. False
    // when the name is taken (by a file, a folder or a link), which is left as
    // it is. Throws Failure with a description on any other failure.
    virtual bool createFile(const std::filesystem::path& file, const std::string& bytes) = 0;
};

// A fresh name beside a file for a temporary copy: a fixed name could be held
// by a leftover of a cut save, or by a link planted there. The random part
// makes the name unpredictable; the count keeps names of one run apart.
inline std::filesystem::path temporaryNameBeside(const std::filesystem::path& file) {
    static std::mt19937_64 random{std::random_device{}()};
    static std::uint64_t count = 0;
    std::ostringstream suffix;
    suffix << '.' << std::hex << random() << '-' << ++count << ".tmp";
    auto name = file;
    name += suffix.str();
    return name;
}

} // namespace zorlo
