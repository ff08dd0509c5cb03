#pragma once
// What the tests of the Linux launch adapters share: scratch folders, scripts
// that record how they were started, the environment changed for a while.
#include "text/Text.hpp"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include <unistd.h>

namespace zorlo::posixtest {

namespace fs = std::filesystem;

struct TempFolder {
    std::string pattern = (fs::temp_directory_path() / "zorlo-test-XXXXXX").string();
    fs::path path = mkdtemp(pattern.data());
    ~TempFolder() { fs::remove_all(path); }
};

inline void writeProgram(const fs::path& file, const std::string& body) {
    std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(file, fs::perms::owner_all, fs::perm_options::add);
}

// The started program runs on its own; wait a moment for what it writes.
inline std::string waitForFile(const fs::path& file) {
    for (int i = 0; i < 200 && !fs::exists(file); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Sets an environment variable for as long as it lives.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

inline Text u(const std::string& text) {
    return fromUtf8(text);
}

} // namespace zorlo::posixtest
