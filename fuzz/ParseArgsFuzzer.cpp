// Argument splitting: any line splits into 1 to 50 words or fails with the
// 51-word failure, agrees with a plain reading of the splitting steps, and a
// line without quotes splits exactly at its runs of blanks and tabs.
#include "FuzzSupport.hpp"

#include "interpreter/ArgList.hpp"
#include "text/Failure.hpp"

#include <optional>
#include <vector>

using namespace zorlo;
using zorlo::fuzz::check;
using zorlo::fuzz::fromAlphabet;
using zorlo::fuzz::shown;

namespace {

constexpr TextView kAlphabet = u"ab \t\"^@x";

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

Text replaced(TextView text, TextView from, TextView to) {
    Text out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.substr(i, from.size()) == from) {
            out += to;
            i += from.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

// The steps as written, without a word limit; leading blanks are skipped (the
// console's choice where the steps leave it open).
std::vector<Text> referenceWords(TextView line) {
    const Text copy = replaced(line, u"\"\"", u"^@^");
    std::size_t i = 0;
    while (i < copy.size() && isBlank(copy[i])) {
        ++i;
    }
    std::vector<Text> words(1);
    bool quoted = false;
    std::optional<char16_t> before;
    for (; i < copy.size(); ++i) {
        const char16_t c = copy[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (quoted || !isBlank(c)) {
            words.back() += c;
        } else if (before && !isBlank(*before)) {
            words.emplace_back();
        }
        before = c;
    }
    for (Text& w : words) {
        w = replaced(w, u"^@^", u"\"");
    }
    return words;
}

// Without quotes: the words are the pieces between runs of blanks and tabs.
std::vector<Text> piecesBetweenBlanks(TextView line) {
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i])) {
        ++i;
    }
    std::vector<Text> words(1);
    for (; i < line.size(); ++i) {
        if (!isBlank(line[i])) {
            words.back() += line[i];
        } else if (!isBlank(line[i - 1])) {
            words.emplace_back();
        }
    }
    return words;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const Text line =
        (data[0] & 1) == 0
            ? fromAlphabet(data + 1, size - 1, kAlphabet)
            : fromUtf8(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    ArgList args;
    // Stale words from an earlier split must not survive the next one.
    for (auto& word : args.args) {
        word = u"stale";
    }
    bool failed = false;
    try {
        parseArgs(line, args);
    } catch (const Failure&) {
        failed = true;
    }
    const std::vector<Text> expected = referenceWords(line);
    const bool tooMany = expected.size() > ArgList::kCapacity;
    check(failed == tooMany, "the 51-word failure is wrong for " + shown(line));
    if (failed) {
        return 0;
    }
    check(args.argCount >= 1 && args.argCount <= ArgList::kCapacity, "argCount out of range");
    check(static_cast<std::size_t>(args.argCount) == expected.size(),
          "word count differs for " + shown(line));
    for (int k = 1; k <= args.argCount; ++k) {
        check(args[k] == expected[static_cast<std::size_t>(k - 1)],
              "word " + std::to_string(k) + " differs for " + shown(line));
    }
    for (int k = args.argCount + 1; k <= ArgList::kCapacity; ++k) {
        check(args[k].empty(), "a position above argCount is not empty for " + shown(line));
    }
    if (line.find(u'"') == TextView::npos && line.find(u"^@^") == TextView::npos) {
        const std::vector<Text> pieces = piecesBetweenBlanks(line);
        check(pieces == expected,
              "a line without quotes is not split at its blanks: " + shown(line));
    }
    return 0;
}
