// The store's indexed answers against the plain walks of ReferenceStore.hpp,
// on random operation sequences and on the cases where the two could part.
#include "ReferenceStore.hpp"

#include "store/Store.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace zorlo;

namespace {

class Recorder : public StatusSink, public MessageSink {
  public:
    void stat(const Text& message) override { messages.push_back(message); }
    void messageBox(const Text& text, const Text& title) override {
        messages.push_back(u"box " + text + u" | " + title);
    }
    std::vector<Text> messages;
};

using ::testing::PrintToString;

// A call's result, or the failure it ended with, as one comparable line.
template <typename Call> std::string outcome(Call&& call) {
    try {
        return "= " + PrintToString(call());
    } catch (const Failure& failure) {
        return "! " + toUtf8(failure.description());
    }
}

// The store's list or the reference's, pair by pair.
template <typename List> std::string dump(const List& list) {
    std::string out;
    for (const auto& bin : list) {
        out += toUtf8(bin.NAME) + "=" + toUtf8(Text(bin.VALUE)) + "\n";
    }
    return out;
}

bool validPattern(TextView text) {
    try {
        Pattern{text};
        return true;
    } catch (const Failure&) {
        return false;
    }
}

// Names from a small alphabet, so that names meet: case variants (ASCII,
// Latin-1 and the Windows-1252 extras), prefixes, characters whose order keys
// tie, wildcards, a character outside the code page, empty names and names
// around the 998 characters that the order key looks at.
class NameSource {
  public:
    NameSource(std::uint32_t seed, bool allowInvalid) : random_(seed), invalid_(allowInvalid) {}

    std::size_t pick(std::size_t n) { return n == 0 ? 0 : random_() % n; }

    Text name() {
        const std::size_t roll = pick(100);
        if (roll < 3) {
            return {};
        }
        Text out;
        if (roll < 6) {
            out.assign(996 + pick(4), u'a');
        }
        const std::size_t length = 1 + pick(4);
        static const Text plain = u"aaabbbcAB1\u00E0\u00C0\u00FF\u0178\u0160\u0161^_;.-!]\u4E00";
        static const Text wild = u"?*#[";
        for (std::size_t i = 0; i < length; ++i) {
            out += pick(100) < 88 ? plain[pick(plain.size())] : wild[pick(wild.size())];
        }
        if (!invalid_ && !validPattern(out)) {
            std::erase(out, u'[');
        }
        return out;
    }

    // Another spelling of a text: some letters change case.
    Text respelled(Text text) {
        for (char16_t& c : text) {
            if (pick(3) == 0) {
                c = pick(2) == 0 ? upperCase(c) : foldCase(c);
            }
        }
        return text;
    }

    // A text that the list is likely to hold in some spelling, or a new one.
    Text probe(const reference::List& list) {
        if (list.empty() || pick(3) == 0) {
            return name();
        }
        Text text = respelled(list[pick(list.size())].NAME);
        if (pick(4) == 0) {
            text.resize(pick(text.size() + 1));
        }
        return text;
    }

  private:
    std::mt19937 random_;
    bool invalid_;
};

class StoreWalkTest : public ::testing::Test {
  protected:
    void expectSame(const std::string& step) {
        ASSERT_EQ(dump(list), dump(ref)) << step;
        ASSERT_EQ(list.count(), ref.size()) << step;
        ASSERT_EQ(engine.messages, walk.messages) << step;
    }

    // Every question the console asks of the store, both ways.
    void compareQueries(NameSource& source, const std::string& step) {
        const Text text = source.probe(ref);
        const std::size_t after = source.pick(ref.size() + 2);
        const std::string where =
            step + " text " + PrintToString(text) + " after " + PrintToString(after);
        EXPECT_EQ(outcome([&] { return getItem(list, text, engine); }),
                  outcome([&] { return reference::getItem(ref, text, walk); }))
            << where;
        EXPECT_EQ(outcome([&] { return findItem(list, text, after); }),
                  outcome([&] { return reference::findItem(ref, text, after); }))
            << where;
        EXPECT_EQ(outcome([&] { return findNameMatching(list, text, after); }),
                  outcome([&] { return reference::findNameMatching(ref, text, after); }))
            << where;
        EXPECT_EQ(outcome([&] { return findPrefixMatch(list, text, after); }),
                  outcome([&] { return reference::findPrefixMatch(ref, text, after); }))
            << where;
        Text expanded = text;
        Text walked = text;
        EXPECT_EQ(outcome([&] { return expandArgument(list, expanded); }),
                  outcome([&] { return reference::expandArgument(ref, walked); }))
            << where;
        EXPECT_EQ(expanded, walked) << where; // a failure keeps the replacements before it
        const Text value = ref.empty() || source.pick(2) == 0
                               ? text
                               : source.respelled(ref[source.pick(ref.size())].VALUE);
        const bool held = std::any_of(ref.begin(), ref.end(), [&value](const Bin& bin) {
            return equalsIgnoreCase(bin.VALUE, value);
        });
        EXPECT_EQ(list.holdsValue(value), held) << where << " value " << PrintToString(value);
        EXPECT_THROW(list.at(0), std::out_of_range) << where;
        EXPECT_THROW(list.at(ref.size() + 1), std::out_of_range) << where;
        if (!ref.empty()) {
            const std::size_t position = 1 + source.pick(ref.size());
            EXPECT_EQ(list.at(position).NAME, ref[position - 1].NAME) << where;
            EXPECT_EQ(list.iteratorAt(position)->VALUE, ref[position - 1].VALUE) << where;
        }
    }

    void runSequence(std::uint32_t seed, bool allowInvalid, int steps) {
        NameSource source(seed, allowInvalid);
        list.clear();
        ref.clear();
        for (int s = 0; s < steps; ++s) {
            const std::string step = "seed " + std::to_string(seed) + " step " + std::to_string(s);
            // Values the list keeps at a byte a character and values it cannot.
            static const Text ends[] = {u"", u"\u00E9", u"\u00FF", u"\u0100", u"\u4E00"};
            const Text value = (s % 3 == 0 ? u"V" : u"v") + toText(s % 50) + ends[s % 5];
            const std::size_t roll = source.pick(100);
            if (roll < 40) {
                Text name = source.pick(4) == 0 ? source.probe(ref) : source.name();
                Text walkedName = name;
                const bool added = addItem(list, name, value, engine);
                const bool walkedAdded = reference::addItem(ref, walkedName, value, walk);
                ASSERT_EQ(added, walkedAdded) << step << " add " << PrintToString(walkedName);
                ASSERT_EQ(name, walkedName) << step;
            } else if (roll < 50 && !ref.empty()) {
                // A rename sets the name as typed, capitals and all, anywhere.
                const std::size_t position = 1 + source.pick(ref.size());
                const Text name =
                    source.pick(2) == 0 ? source.respelled(source.name()) : source.probe(ref);
                list.setName(position, name);
                ref[position - 1].NAME = name;
            } else if (roll < 57 && !ref.empty()) {
                const std::size_t position = 1 + source.pick(ref.size());
                list.removeAt(position);
                ref.erase(ref.begin() + static_cast<std::ptrdiff_t>(position - 1));
            } else if (roll < 61) {
                const std::size_t position = 1 + source.pick(ref.size() + 1);
                const Text name = source.respelled(source.name());
                list.insertBefore(position, Bin{name, value});
                ref.insert(ref.begin() + static_cast<std::ptrdiff_t>(position - 1),
                           Bin{name, value});
            } else if (roll < 63 && !ref.empty()) {
                const std::size_t position = 1 + source.pick(ref.size());
                list.setValue(position, value);
                ref[position - 1].VALUE = value;
            } else if (roll < 65) {
                // Through a copy or a move, pairs and index and all; a move empties its source.
                BinList copy(list);
                BinList moved(std::move(list));
                ASSERT_TRUE(list.empty()) << step;
                if (roll == 63) {
                    list = copy;
                } else {
                    list = std::move(moved);
                }
            } else {
                compareQueries(source, step);
            }
            expectSame(step);
            if (HasFatalFailure() || HasNonfatalFailure()) {
                return;
            }
        }
    }

    BinList list;
    reference::List ref;
    Recorder engine;
    Recorder walk;
};

} // namespace

// The second run also draws names that are no valid pattern, as a rename may store.
TEST_F(StoreWalkTest, RandomSequencesGiveTheWalksListsResultsAndFailures) {
    const struct {
        std::uint32_t first, last;
        bool allowInvalid;
        int steps;
    } runs[] = {{1, 100, false, 300}, {1001, 1060, true, 250}};
    for (const auto& run : runs) {
        for (std::uint32_t seed = run.first; seed <= run.last && !HasFailure(); ++seed) {
            runSequence(seed, run.allowInvalid, run.steps);
        }
    }
}

TEST_F(StoreWalkTest, LoadGivesTheListReportsAndVerdictOfAddingPairByPair) {
    // Files where a load in one pass would part from adding pair by pair: the
    // greatest name is not the last one, a name comes again in other capitals,
    // a wildcard, a name out of place, an empty name, a name that orders after
    // one it equals without regard to case (capitals beyond ASCII key lower).
    const std::vector<Text> edges = {
        u"\"a\u00C0\"\r\n\"1\"\r\n\"a\u00E0\"\r\n\"2\"\r\n\"b\"\r\n\"3\"\r\n",
        u"\"ac\"\r\n\"1\"\r\n\"a\"\r\n\"2\"\r\n\"ab\"\r\n\"3\"\r\n\"b\"\r\n\"4\"\r\n",
        u"\"a\"\r\n\"1\"\r\n\"b\"\r\n\"2\"\r\n\"A\"\r\n\"3\"\r\n\"c\"\r\n\"4\"\r\n",
        u"\"a\"\r\n\"1\"\r\n\"b*\"\r\n\"2\"\r\n\"c\"\r\n\"3\"\r\n",
        u"\"b\"\r\n\"1\"\r\n\"a\"\r\n\"2\"\r\n\"c\"\r\n\"3\"\r\n",
        u"\"a\"\r\n\"1\"\r\n\"\"\r\n\"2\"\r\n\"b\"\r\n\"3\"\r\n",
    };
    for (std::uint32_t seed = 1; seed <= 400 + edges.size(); ++seed) {
        NameSource source(seed, seed % 4 == 0);
        // Half the files hold only names as the console saves them, which load at once.
        const bool saved = seed % 2 == 1;
        Text content = seed > 400 ? edges[seed - 401] : Text();
        const std::size_t pairs = seed > 400 ? 0 : source.pick(60);
        for (std::size_t i = 0; i < pairs; ++i) {
            Text name = source.pick(5) == 0 ? source.respelled(source.name()) : source.name();
            if (saved) {
                std::erase_if(name, [](char16_t c) { return Text(u"?*#[").find(c) != Text::npos; });
                name = name.empty() ? Text(u"x") : name;
            }
            content += u"\"" + name + u"\"\r\n\"" + toText(static_cast<long long>(i)) + u"\"\r\n";
        }
        if (seed % 4 == 1 && seed <= 400) {
            // Truly as saved: the pairs in the order they took, which a load
            // takes in one pass, now and then one out of place or twice.
            reference::List sorted;
            Recorder quiet;
            reference::readSettingsInto(content, sorted, quiet);
            content.clear();
            for (const Bin& bin : sorted) {
                content += u"\"" + bin.NAME + u"\"\r\n\"" + bin.VALUE + u"\"\r\n";
                if (source.pick(25) == 0) {
                    const Text name = source.pick(2) == 0 ? source.probe(sorted) : source.name();
                    content += u"\"" + name + u"\"\r\n\"late\"\r\n";
                }
            }
        }
        if (source.pick(10) == 0 && seed <= 400) {
            content += u"\"dangling\"\r\n"; // the file ends after a name
        }
        const std::string where = "seed " + std::to_string(seed);
        list.clear();
        ref.clear();
        ASSERT_EQ(outcome([&] { return readSettingsInto(content, list, engine); }),
                  outcome([&] { return reference::readSettingsInto(content, ref, walk); }))
            << where;
        ASSERT_NO_FATAL_FAILURE(expectSame(where + " load"));
        // The loaded list answers as one built pair by pair.
        for (int q = 0; q < 4; ++q) {
            compareQueries(source, where + " query " + std::to_string(q));
        }
        Text name = source.probe(ref);
        Text walkedName = name;
        EXPECT_EQ(addItem(list, name, u"added", engine),
                  reference::addItem(ref, walkedName, u"added", walk));
        ASSERT_NO_FATAL_FAILURE(expectSame(where + " add"));
    }
}
