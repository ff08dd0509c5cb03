#pragma once

#include "text/Text.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace zorlo::fuzz {

// A broken property is a finding: name it and stop, so libFuzzer keeps the input.
[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "PROPERTY BROKEN: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void check(bool ok, const std::string& what) {
    if (!ok) {
        fail(what);
    }
}

// Quoted and escaped, so that blanks, quotes and control characters show in a report.
inline std::string shown(TextView text) {
    std::string out = "\"";
    for (const char16_t c : text) {
        if (c < 0x20 || c == u'"' || c == u'\\' || c > 0x7E) {
            char buf[10];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            out += buf;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out + "\"";
}

// Each byte picks one character of a small alphabet: short inputs then reach
// the interesting combinations (wildcards, quotes, blanks) far more often than
// raw bytes would.
inline Text fromAlphabet(const std::uint8_t* data, std::size_t size, TextView alphabet) {
    Text out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(alphabet[data[i] % alphabet.size()]);
    }
    return out;
}

// A folder of this process's own under the temporary folder, emptied on each
// call, removed when the fuzzer exits normally.
inline std::filesystem::path freshScratchFolder(const char* name) {
    namespace fs = std::filesystem;
    static const fs::path folder = [name] {
        fs::path p = fs::temp_directory_path() /
                     (std::string(name) + "-" + std::to_string(static_cast<long>(::getpid())));
        fs::create_directories(p);
        static const fs::path removeAtExit = p;
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(removeAtExit, ignored);
        });
        return p;
    }();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        fs::remove_all(entry.path(), ec);
    }
    return folder;
}

} // namespace zorlo::fuzz
