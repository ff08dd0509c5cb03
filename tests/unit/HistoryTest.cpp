#include "ReferenceStore.hpp"

#include "cmdline/History.hpp"
#include "store/FileIo.hpp"
#include "text/Failure.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <vector>

using namespace zorlo;
namespace fs = std::filesystem;

namespace {

using Entries = std::vector<Text>;

class HistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zorlo-history-test-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        file = dir / "history";
    }
    void TearDown() override { fs::remove_all(dir); }

    static Entries entries(const History& history) {
        Entries out;
        for (std::size_t i = 1; i <= history.count(); ++i) {
            out.push_back(history.entry(i));
        }
        return out;
    }

    fs::path dir;
    fs::path file;
};

} // namespace

// The searches answered from the sorted entries against the walk from the
// cursor, on random words: case variants, prefixes, wildcards, invalid patterns.
// A load adds every line after the entries already there, repeats and all (the
// file's line ends and 8-bit text are the history_file and history_8bit
// transcripts').
TEST_F(HistoryTest, SearchesGiveTheWalksAnswersCursorsAndFailures) {
    const auto outcome = [](auto&& call) -> std::string {
        try {
            return "= " + toUtf8(call());
        } catch (const Failure& failure) {
            return "! " + toUtf8(failure.description());
        }
    };
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&random](std::size_t n) { return random() % n; };
        static const Text alphabet = u"aabbAB\u00E0\u00C01?*#[]";
        const auto word = [&] {
            Text out;
            for (std::size_t i = pick(4); i > 0; --i) {
                out += alphabet[pick(alphabet.size())];
            }
            return out;
        };
        History history(file);
        reference::History walk;
        Text lines;
        for (std::size_t i = pick(8); i > 0; --i) {
            lines += word() + Text(CRLF);
        }
        writeFileBytes(file, encodeFileText(lines));
        for (int step = 0; step < 300; ++step) {
            const std::string where =
                "seed " + std::to_string(seed) + " step " + std::to_string(step);
            Text w = word();
            if (!walk.entries.empty() && pick(2) == 0) {
                w = walk.entries[pick(walk.entries.size())].substr(0, pick(5));
            }
            switch (pick(5)) {
            case 0:
                ASSERT_EQ(outcome([&] { return (history.addHistory(w), Text()); }),
                          outcome([&] { return (walk.addHistory(w), Text()); }))
                    << where;
                break;
            case 1:
                ASSERT_EQ(outcome([&] { return Text(history.isItem(w) ? u"yes" : u"no"); }),
                          outcome([&] { return Text(walk.isItem(w) ? u"yes" : u"no"); }))
                    << where;
                break;
            case 2:
                history.Reset();
                walk.Reset();
                break;
            case 3:
                if (pick(20) == 0) {
                    history.Load();
                    const Text text = decodeFileBytes(readFileBytes(file).value_or(""));
                    // The file holds only lines that end in CR LF, the empty ones skipped.
                    for (std::size_t at = 0, end; (end = text.find(CR, at)) != Text::npos;
                         at = end + 2) {
                        if (end > at) {
                            walk.entries.push_back(text.substr(at, end - at));
                        }
                    }
                }
                break;
            default:
                ASSERT_EQ(outcome([&] { return history.getHistory(w); }),
                          outcome([&] { return walk.getHistory(w); }))
                    << where << " begin " << toUtf8(w);
                break;
            }
            ASSERT_EQ(entries(history), walk.entries) << where;
            ASSERT_EQ(history.cursor(), walk.cursor) << where;
        }
    }
}
