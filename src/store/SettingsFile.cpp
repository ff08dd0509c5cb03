#include "store/SettingsFile.hpp"

#include "store/Pattern.hpp"
#include "store/Store.hpp"
#include "text/Failure.hpp"

#include <set>
#include <unordered_set>
#include <vector>

namespace zorlo {

namespace {

constexpr std::size_t kOrderKeyLength = 998;

// addItem walks the whole list twice for every pair, so a load of n pairs
// costs n squared steps: 20,000 macros took seconds, a 10 MB file minutes.
// During a load nothing else changes the list, so this index can tell when
// addItem's walks would find nothing, and a pair in file order is appended at
// once.
class LoadIndex {
  public:
    explicit LoadIndex(const BinList& list) {
        for (const Bin& bin : list) {
            note(bin.NAME);
        }
    }

    // True when addItem's replace test cannot match this lowercased name: it
    // holds no wildcard, so only a stored name equal but for case could take
    // its value, and there is none; nor an empty stored name, on which the
    // order walk would fail.
    bool isNew(const Text& name) const {
        return !name.empty() && !emptyStored_ && name.find_first_of(u"?#*[") == Text::npos &&
               folded_.count(folded(name)) == 0;
    }

    // Whether some stored name orders after the name: those are exactly the
    // names whose keys sort at or after the name's keys with the last one
    // raised by one. When none does, addItem appends.
    bool ordersBefore(const Text& name) const {
        std::vector<int> bound = keys(name);
        ++bound.back();
        return keys_.lower_bound(bound) != keys_.end();
    }

    void note(const Text& name) {
        if (name.empty()) {
            emptyStored_ = true;
            return;
        }
        folded_.insert(folded(name));
        keys_.insert(keys(name));
    }

  private:
    static Text folded(const Text& name) {
        Text out(name);
        for (char16_t& c : out) {
            c = foldCase(c);
        }
        return out;
    }
    static std::vector<int> keys(const Text& name) {
        std::vector<int> out;
        for (std::size_t i = 0; i < name.size() && i < kOrderKeyLength; ++i) {
            out.push_back(orderKey(name[i]));
        }
        return out;
    }

    std::unordered_set<Text> folded_;
    std::set<std::vector<int>> keys_;
    bool emptyStored_ = false;
};

} // namespace

Text formatSettings(const BinList& list) {
    Text out;
    for (const auto& bin : list) {
        out += u'"';
        out += bin.NAME;
        out += u"\"\r\n\"";
        out += bin.VALUE;
        out += u"\"\r\n";
    }
    return out;
}

bool fitsSettingsFormat(TextView text) {
    return text.find_first_of(u"\"\r\n") == TextView::npos;
}

std::optional<Text> storeRefusal(TextView name, TextView value, bool storedAsIs) {
    if (!fitsSettingsFormat(name) || !fitsSettingsFormat(value)) {
        return u"Cannot store " + Text(name) +
               u": names and values cannot hold double quotes or line breaks";
    }
    if (storedAsIs) {
        try {
            Pattern{name};
        } catch (const Failure& failure) {
            return u"Cannot store " + Text(name) + u": the name is no valid pattern (" +
                   failure.description() + u")";
        }
    }
    return std::nullopt;
}

bool readSettingsInto(TextView content, BinList& list, StatusSink& status) {
    SettingsReader reader{Text(content)};
    LoadIndex index(list);
    bool whole = true;
    while (!reader.atEnd()) {
        Text name = reader.readField();
        const Text value = reader.readField();
        if (const auto refusal = storeRefusal(name, value, list.empty())) {
            status.stat(*refusal);
            whole = false;
            continue;
        }
        name = lowerAsciiLetters(name);
        if (index.isNew(name)) {
            // What addItem does when its replace test finds nothing.
            std::size_t at = 0;
            if (index.ordersBefore(name)) {
                at = 1;
                while (!orderKeyGreater(list.at(at).NAME, name)) {
                    ++at;
                }
            }
            if (at == 0) {
                list.append(Bin{name, value});
            } else {
                list.insertBefore(at, Bin{name, value});
            }
            index.note(name);
            continue;
        }
        const std::size_t before = list.count();
        if (!addItem(list, name, value, status) || list.count() == before) {
            whole = false;
        } else {
            index.note(name);
        }
    }
    return whole;
}

SettingsReader::SettingsReader(Text content) : text_(std::move(content)) {
    end_ = text_.size();
    while (end_ > 0 && (text_[end_ - 1] == CR || text_[end_ - 1] == LF || text_[end_ - 1] == u' ' ||
                        text_[end_ - 1] == u'\t')) {
        --end_;
    }
}

bool SettingsReader::atEnd() const {
    return pos_ >= end_;
}

bool SettingsReader::atLineEnd() const {
    return pos_ >= text_.size() || text_[pos_] == CR || text_[pos_] == LF;
}

void SettingsReader::skipLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == CR) {
        ++pos_;
    }
    if (pos_ < text_.size() && text_[pos_] == LF) {
        ++pos_;
    }
}

Text SettingsReader::readField() {
    if (atEnd()) {
        throw Failure(u"Input past end of file");
    }
    while (pos_ < text_.size() && (text_[pos_] == u' ' || text_[pos_] == u'\t')) {
        ++pos_;
    }
    Text field;
    if (pos_ < text_.size() && text_[pos_] == u'"') {
        ++pos_;
        while (!atLineEnd() && text_[pos_] != u'"') {
            field.push_back(text_[pos_++]);
        }
        while (!atLineEnd() && text_[pos_] != u',') {
            ++pos_; // after the closing quote, the rest of the field is ignored
        }
    } else {
        while (!atLineEnd() && text_[pos_] != u',') {
            field.push_back(text_[pos_++]);
        }
        while (!field.empty() && (field.back() == u' ' || field.back() == u'\t')) {
            field.pop_back();
        }
    }
    if (pos_ < text_.size() && text_[pos_] == u',') {
        ++pos_;
    } else {
        skipLineEnd();
    }
    return field;
}

} // namespace zorlo
