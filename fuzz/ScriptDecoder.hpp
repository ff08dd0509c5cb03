// The script fuzzer's decoder: reads the fuzzer's bytes as a zorlo-script
// script over a small vocabulary of user and desktop events. Kept apart from
// the fuzzer so that a plain program can print the script an input stands for
// and the corpus can be replayed through zorlo-script outside libFuzzer.
#pragma once

#include <nlohmann/json.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zorlo::fuzz {

using Json = nlohmann::json;

// Pieces of typed text: command words, macro names, wildcards, quotes, blanks
// and characters the settings format cannot hold.
// clang-format off
constexpr std::array<std::string_view, 40> kFragments{
    "macro ", "rename ", "delete ", "list ", "find ", "save", "param ", "max", "min", "help",
    "exit", "listparams", "shell ", "ed", "np ", "C:\\Tools\\editor.exe", "www.alpha.beta", "!",
    "\"", "\"\"", "[", "]", "*", "?", "#", " ", "\t", "a", "B", "1", "^@^", "key", "active",
    "autohide", "\r", "\n", "\xC3\xA9", std::string_view("\0", 1), "n?", "n1"};
// clang-format on

constexpr std::array<std::string_view, 10> kKeyNames{
    "Enter", "Esc", "Up", "Down", "Home", "End", "Left", "Right", "Backspace", "Delete"};

constexpr std::array<std::string_view, 5> kPaths{"C:\\Docs\\Report.doc", "C:\\a\"b.txt",
                                                 "/home/u/notes.txt", "C:\\x\\", "tab\there"};

constexpr std::array<std::string_view, 5> kFormats{"link", "bitmap", "palette", "dib", "metafile"};

// Reads the fuzzer's bytes as small choices; past the end every choice is 0.
class Choices {
  public:
    Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool more() const { return pos_ < size_; }
    unsigned next(unsigned range) { return pos_ < size_ ? data_[pos_++] % range : 0; }
    template <typename T, std::size_t N> T pick(const std::array<T, N>& items) {
        return items[next(N)];
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

inline std::string text(Choices& c) {
    std::string out;
    const unsigned pieces = 1 + c.next(4);
    for (unsigned i = 0; i < pieces; ++i) {
        out += c.pick(kFragments);
    }
    return out;
}

inline Json dropData(Choices& c) {
    Json data = Json::object();
    const unsigned what = c.next(4);
    if (what == 0 || what == 3) {
        Json files = Json::array();
        const unsigned n = 1 + c.next(3);
        for (unsigned i = 0; i < n; ++i) {
            files.push_back(std::string(c.pick(kPaths)));
        }
        data["files"] = files;
    }
    if (what == 1 || what == 3) {
        data["text"] = text(c);
    }
    if (what == 2 || c.next(4) == 0) {
        data["formats"] = Json::array({std::string(c.pick(kFormats))});
    }
    return data;
}

inline Json command(Choices& c) {
    static const std::array<int, 6> kVirtualKeys{123, 16, 17, 18, 65, 13};
    static const std::array<int, 6> kSizes{0, 120, 900, 4125, 12000, 40000};
    static const std::array<int, 6> kResults{0, 2, 31, 33, 42, -5};
    const unsigned kind = c.next(20);
    if (kind < 4) {
        return Json::array({"type", text(c)});
    }
    if (kind < 6) {
        return Json::array({"key", std::string(c.pick(kKeyNames)), c.next(8)});
    }
    switch (kind) {
    case 6:
        return Json::array({"click", c.next(200)});
    case 7:
        return Json::array({"select", c.next(200), c.next(40)});
    case 8:
        return Json::array({"drop", dropData(c), c.next(4)});
    case 9:
        return Json::array({"answer", c.next(2) == 0 ? "yes" : "no"});
    case 10:
        return c.next(3) == 0 ? Json::array({"input", nullptr}) : Json::array({"input", text(c)});
    case 11:
        return c.next(3) == 0 ? Json::array({"capture", nullptr})
                              : Json::array({"capture", c.pick(kVirtualKeys), c.next(8)});
    case 12:
        return Json::array({"shellresult", c.pick(kResults)});
    case 13:
        return Json::array({"startfails", c.next(2) == 0});
    case 14:
        return Json::array({c.next(2) == 0 ? "keydown" : "keyup", c.pick(kVirtualKeys)});
    case 15:
        return Json::array({"tick", 1 + c.next(3)});
    case 16:
        return Json::array({"foreground", c.next(2) == 0 ? "console" : "other"});
    case 17:
        return Json::array({"resize", c.pick(kSizes), c.pick(kSizes)});
    case 18:
        return Json::array({c.next(2) == 0 ? "minimize" : "restore"});
    default:
        return Json::array({c.next(2) == 0 ? "dump" : "mkdir", "C:\\Tools"});
    }
}

// The whole script for one input: an optional window, the start, at most
// 80 commands, the close; one JSON array a line.
inline std::string decodeScript(const std::uint8_t* data, std::size_t size) {
    constexpr int kMaxCommands = 80;
    Choices c(data, size);
    std::string script;
    if (c.next(4) == 0) {
        script +=
            Json::array({"window", 600 * c.next(4), 600 * c.next(4), 4125, 2400}).dump() + "\n";
    }
    script += "[\"start\"]\n";
    for (int i = 0; i < kMaxCommands && c.more(); ++i) {
        script += command(c).dump() + "\n";
    }
    script += "[\"close\"]\n";

    return script;
}

} // namespace zorlo::fuzz
