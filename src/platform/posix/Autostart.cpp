#include "platform/posix/Autostart.hpp"

#include "platform/posix/ProgramFolder.hpp"

#include <cstring>
#include <fstream>
#include <sstream>

namespace zorlo::posix {

namespace fs = std::filesystem;

fs::path autostartEntryFile() {
    return userConfigHome() / "autostart" / "zorlo.desktop";
}

std::string execWord(const std::string& path) {
    const bool quoted = path.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string word;
    for (const char c : path) {
        // Inside quotes these four take a backslash; "%" starts a field code anywhere.
        if (quoted && std::strchr("\"`$\\", c) != nullptr) {
            word += '\\';
        }
        if (c == '%') {
            word += '%';
        }
        word += c;
    }
    if (quoted) {
        word = '"' + word + '"';
    }
    // The whole value is read as a string first, which takes one level of backslashes.
    std::string value;
    for (const char c : word) {
        value += c;
        if (c == '\\') {
            value += '\\';
        }
    }
    return value;
}

std::string enableAutostart(std::string_view shippedEntry, const fs::path& program) {
    std::istringstream in{std::string(shippedEntry)};
    std::string entry;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Exec=", 0) == 0) {
            // Without a known path, the name alone, as the shipped entry has it.
            line = "Exec=" + (program.empty() ? std::string("zorlo") : execWord(program.string())) +
                   " --hidden";
        }
        entry += line + '\n';
    }
    const fs::path file = autostartEntryFile();
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    // Written aside and renamed, so a session starting meanwhile reads all of it or none.
    const fs::path temporary = file.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << entry;
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return "cannot write " + temporary.string();
        }
    }
    fs::rename(temporary, file, error);
    if (error) {
        fs::remove(temporary, error);
        return "cannot write " + file.string();
    }
    return {};
}

std::string disableAutostart() {
    const fs::path file = autostartEntryFile();
    std::error_code error;
    fs::remove(file, error);
    return error ? "cannot remove " + file.string() + ": " + error.message() : std::string();
}

} // namespace zorlo::posix
