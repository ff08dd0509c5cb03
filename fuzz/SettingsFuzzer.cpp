// The settings files: any bytes as zorlo.list or zorlo.param load without a
// crash and as adding the pairs one by one with the store's plain walks would;
// the indexed lookups answer as the walks do; everything the load stores can be
// written; what is written reads back field for field; and a reload of a
// written list gives the same list whenever no pair of it merges into another
// by the store's pattern rule.
#include "FuzzSupport.hpp"
#include "ReferenceStore.hpp"

#include "store/Pattern.hpp"
#include "store/SettingsFile.hpp"
#include "store/Store.hpp"
#include "text/Failure.hpp"
#include "text/Number.hpp"

using namespace zorlo;
using zorlo::fuzz::check;
using zorlo::fuzz::shown;

namespace {

class QuietStatus : public StatusSink {
  public:
    void stat(const Text&) override {}
};

class QuietDialogs : public MessageSink {
  public:
    void messageBox(const Text&, const Text&) override {}
};

bool sameList(const BinList& a, const BinList& b) {
    if (a.count() != b.count()) {
        return false;
    }
    for (std::size_t i = 1; i <= a.count(); ++i) {
        if (a.at(i).NAME != b.at(i).NAME || a.at(i).VALUE != b.at(i).VALUE) {
            return false;
        }
    }
    return true;
}

// Whether re-adding the pairs in list order leaves each one a pair of its own:
// no name, taken as a pattern, matches a name before it (it would take over
// that pair's place instead).
bool mergeFree(const BinList& list) {
    for (std::size_t k = 2; k <= list.count(); ++k) {
        try {
            const Pattern pattern(list.at(k).NAME);
            for (std::size_t j = 1; j < k; ++j) {
                if (pattern.matches(list.at(j).NAME)) {
                    return false;
                }
            }
        } catch (const Failure&) {
            return false;
        }
    }
    return true;
}

bool sameList(const BinList& a, const reference::List& b) {
    if (a.count() != b.size()) {
        return false;
    }
    std::size_t i = 0;
    for (const BinView bin : a) {
        if (bin.NAME != b[i].NAME || bin.VALUE != b[i].VALUE) {
            return false;
        }
        ++i;
    }
    return true;
}

// A call's result, or the failure it ended with.
template <typename Call> std::string outcome(Call&& call) {
    try {
        return std::to_string(call());
    } catch (const Failure& failure) {
        return "! " + toUtf8(failure.description());
    }
}

// The store's indexed lookups against the walks, with the loaded names, their
// case variants and their beginnings as the texts and patterns.
void compareLookups(const BinList& list, const reference::List& walked) {
    // A few names spread over the list keep each input fast.
    const std::size_t step = walked.size() / 12 + 1;
    for (std::size_t k = 0; k < walked.size(); k += step) {
        const Bin& bin = walked[k];
        for (const Text& text : {bin.NAME, Text(TextView(bin.NAME).substr(0, 2)),
                                 Text(1, upperCase(bin.NAME.empty() ? u'x' : bin.NAME[0]))}) {
            for (const std::size_t after : {std::size_t{0}, std::size_t{1}, walked.size() / 2}) {
                check(outcome([&] { return findItem(list, text, after); }) ==
                          outcome([&] { return reference::findItem(walked, text, after); }),
                      "findItem differs from the walk for " + shown(text));
                check(outcome([&] { return findNameMatching(list, text, after); }) ==
                          outcome([&] { return reference::findNameMatching(walked, text, after); }),
                      "findNameMatching differs from the walk for " + shown(text));
                check(outcome([&] { return findPrefixMatch(list, text, after); }) ==
                          outcome([&] { return reference::findPrefixMatch(walked, text, after); }),
                      "findPrefixMatch differs from the walk for " + shown(text));
            }
        }
    }
}

// The window and hotkey values are numbers read from this same file format.
void readNumbers(const BinList& params) {
    QuietDialogs dialogs;
    for (const TextView name : {u"top", u"left", u"height", u"width"}) {
        try {
            (void)toWholeNumber(getItem(params, name, dialogs));
        } catch (const Failure&) {
        }
    }
    (void)parseInteger(getItem(params, u"key", dialogs));
    (void)parseInteger(getItem(params, u"modifier", dialogs));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text content =
        decodeFileBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    QuietStatus status;

    BinList first;
    bool firstWhole = false;
    bool ended = false;
    try {
        firstWhole = readSettingsInto(content, first, status);
    } catch (const Failure&) {
        ended = true; // the file ended after a name: the pairs read so far stay
    }
    reference::List walked;
    bool walkedWhole = false;
    bool walkedEnded = false;
    try {
        walkedWhole = reference::readSettingsInto(content, walked, status);
    } catch (const Failure&) {
        walkedEnded = true;
    }
    check(ended == walkedEnded && (ended || firstWhole == walkedWhole) && sameList(first, walked),
          "the load differs from adding its pairs one by one with the walks");
    compareLookups(first, walked);
    for (const BinView bin : first) {
        const Text value(bin.VALUE);
        check(fitsSettingsFormat(bin.NAME) && fitsSettingsFormat(value),
              "the load stored a pair the format cannot hold: " + shown(bin.NAME) + " = " +
                  shown(value));
    }
    readNumbers(first);

    const Text written = decodeFileBytes(encodeFileText(formatSettings(first)));
    SettingsReader raw(written);
    for (const BinView bin : first) {
        check(!raw.atEnd() && raw.readField() == bin.NAME,
              "name " + shown(bin.NAME) + " not read back");
        check(!raw.atEnd() && raw.readField() == bin.VALUE,
              "value " + shown(Text(bin.VALUE)) + " of " + shown(bin.NAME) + " not read back");
    }
    check(raw.atEnd(), "the written file holds more than the list");

    BinList second;
    bool whole = false;
    try {
        whole = readSettingsInto(written, second, status);
    } catch (const Failure& failure) {
        fuzz::fail("a written file does not load: " + toUtf8(failure.description()));
    }
    if (whole) {
        check(sameList(first, second), "save and reload changed the list");
    }
    if (mergeFree(first)) {
        check(whole, "a list whose pairs cannot merge did not reload whole");
    }
    return 0;
}
