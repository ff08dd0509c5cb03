#pragma once

#include "store/FileIo.hpp"
#include "text/Text.hpp"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace zorlo::bench {

struct Pair {
    Text name;
    Text value;
};

// Distinct macro names that look like what people type: short words, some
// with digits, dots, dashes or underscores, a few with accented letters, in a
// random order. The same seed gives the same names on every run.
inline std::vector<Pair> makeMacros(std::size_t count, std::uint32_t seed = 20240601) {
    std::mt19937 random(seed);
    const std::u16string letters = u"abcdefghijklmnopqrstuvwxyz";
    const std::u16string extras = u"0123456789-_.";
    std::unordered_set<Text> seen;
    std::vector<Pair> pairs;
    pairs.reserve(count);
    while (pairs.size() < count) {
        const std::size_t length = 3 + random() % 10;
        Text name;
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned roll = random() % 100;
            if (roll < 85 || i == 0) {
                name.push_back(letters[random() % letters.size()]);
            } else if (roll < 99) {
                name.push_back(extras[random() % extras.size()]);
            } else {
                name.push_back(static_cast<char16_t>(0xE0 + random() % 0x1F));
            }
        }
        if (!seen.insert(name).second) {
            continue;
        }
        const std::string n = std::to_string(pairs.size());
        Text value =
            (pairs.size() % 5 == 0)
                ? u"https://www.example.org/" + name
                : u"C:\\Program Files\\Vendor " + Text(n.begin(), n.end()) + u"\\" + name + u".exe";
        pairs.push_back({name, std::move(value)});
    }
    std::shuffle(pairs.begin(), pairs.end(), random);
    return pairs;
}

// zorlo.list as a save writes it.
inline Text settingsText(const std::vector<Pair>& pairs) {
    Text out;
    for (const auto& p : pairs) {
        out += u'"' + p.name + u"\"\r\n\"" + p.value + u"\"\r\n";
    }
    return out;
}

// zorlo.param with every parameter and a window place, so that a load succeeds.
inline Text paramText() {
    return u"\"active\"\r\n\"1\"\r\n\"autohide\"\r\n\"0\"\r\n\"height\"\r\n\"3000\"\r\n"
           u"\"key\"\r\n\"123\"\r\n\"left\"\r\n\"600\"\r\n\"modifier\"\r\n\"0\"\r\n"
           u"\"top\"\r\n\"600\"\r\n\"width\"\r\n\"6000\"\r\n";
}

// History words: file names and addresses, none of them a macro name.
inline std::vector<Text> makeHistory(std::size_t count) {
    std::vector<Text> words;
    words.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        const Text number(n.begin(), n.end());
        words.push_back(i % 3 == 0 ? u"https://www.example.com/page" + number
                                   : u"notes-" + number + u".txt");
    }
    return words;
}

inline Text historyText(const std::vector<Text>& words) {
    Text out;
    for (const auto& w : words) {
        out += w + u"\r\n";
    }
    return out;
}

// A program folder as the console finds it: macros, parameters, history.
inline void writeSettingsFolder(const std::filesystem::path& folder,
                                const std::vector<Pair>& macros, const std::vector<Text>& history) {
    writeFileBytes(folder / "zorlo.list", encodeFileText(settingsText(macros)));
    writeFileBytes(folder / "zorlo.param", encodeFileText(paramText()));
    writeFileBytes(folder / "history", encodeFileText(historyText(history)));
}

} // namespace zorlo::bench
