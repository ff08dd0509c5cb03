// The settings files: any bytes as zorlo.list or zorlo.param load without a
// crash; everything the load stores can be written; what is written reads back
// field for field; and a reload of a written list gives the same list whenever
// no pair of it merges into another by the store's pattern rule.
#include "FuzzSupport.hpp"

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

class QuietDialogs : public Dialogs {
  public:
    void messageBox(const Text&, const Text&) override {}
    bool question(const Text&, const Text&) override { return false; }
    std::optional<Text> inputBox(const Text&, const Text&, const Text&, int, int) override {
        return std::nullopt;
    }
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

// The load as the rules write it, pair by pair through addItem, for comparison
// with the load's shortcut past addItem's walks.
bool plainLoad(TextView content, BinList& list, StatusSink& status) {
    SettingsReader reader{Text(content)};
    bool whole = true;
    while (!reader.atEnd()) {
        Text name = reader.readField();
        const Text value = reader.readField();
        if (storeRefusal(name, value, list.empty())) {
            whole = false;
            continue;
        }
        const std::size_t before = list.count();
        whole = addItem(list, name, value, status) && list.count() > before && whole;
    }
    return whole;
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
    BinList plain;
    bool plainWhole = false;
    bool plainEnded = false;
    try {
        plainWhole = plainLoad(content, plain, status);
    } catch (const Failure&) {
        plainEnded = true;
    }
    check(ended == plainEnded && (ended || firstWhole == plainWhole) && sameList(first, plain),
          "the load differs from adding its pairs one by one");
    for (const Bin& bin : first) {
        check(fitsSettingsFormat(bin.NAME) && fitsSettingsFormat(bin.VALUE),
              "the load stored a pair the format cannot hold: " + shown(bin.NAME) + " = " +
                  shown(bin.VALUE));
    }
    readNumbers(first);

    const Text written = decodeFileBytes(encodeFileText(formatSettings(first)));
    SettingsReader raw(written);
    for (const Bin& bin : first) {
        check(!raw.atEnd() && raw.readField() == bin.NAME,
              "name " + shown(bin.NAME) + " not read back");
        check(!raw.atEnd() && raw.readField() == bin.VALUE,
              "value " + shown(bin.VALUE) + " of " + shown(bin.NAME) + " not read back");
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
