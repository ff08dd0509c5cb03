#include "store/SettingsFile.hpp"

#include "store/Pattern.hpp"
#include "store/Store.hpp"
#include "text/Failure.hpp"

#include <algorithm>
#include <utility>

namespace zorlo {

Text formatSettings(const BinList& list) {
    Text out;
    for (const auto& bin : list) {
        out += u'"';
        out += bin.NAME;
        out += u"\"\r\n\"";
        bin.VALUE.appendTo(out);
        out += u"\"\r\n";
    }
    return out;
}

bool fitsSettingsFormat(TextView text) {
    return std::none_of(text.begin(), text.end(),
                        [](char16_t c) { return c == u'"' || c == CR || c == LF; });
}

std::optional<Text> storeRefusal(TextView name, TextView value, bool storedAsIs,
                                 bool storedLowercase) {
    if (!fitsSettingsFormat(name) || !fitsSettingsFormat(value)) {
        return u"Cannot store " + Text(name) +
               u": names and values cannot hold double quotes or line breaks";
    }
    if (storedAsIs) {
        if (name.empty()) {
            return u"Cannot store : the name is empty";
        }
        // Lowercasing can turn a rising range into a falling one ("[Z-a]").
        Text stored(name);
        if (storedLowercase) {
            lowerAsciiLetters(stored);
        }
        try {
            Pattern{stored};
        } catch (const Failure& failure) {
            return u"Cannot store " + Text(name) + u": the name is no valid pattern (" +
                   failure.description() + u")";
        }
    }
    return std::nullopt;
}

bool readSettingsInto(Text content, BinList& list, StatusSink& status) {
    SettingsReader reader{std::move(content)};
    bool whole = true;
    // A file in the order the console saves it fills an empty list at its end
    // in one pass, up to the first pair that addItem would place elsewhere or
    // merge; from there on pairs go in one at a time.
    BinList::Filler filler(list);
    bool filling = list.empty();
    Text name; // lowercased in place, its room kept from pair to pair
    while (!reader.atEnd()) {
        name.assign(reader.readField());
        const bool nameFits = reader.lastQuoted();
        const TextView value = reader.readField();
        const bool empty = filling ? filler.count() == 0 : list.empty();
        // Quoted fields fit the format by the way they were read; only an
        // unquoted one, or the first pair's name, needs the whole check.
        const bool checked = nameFits && reader.lastQuoted() && !empty;
        if (const auto refusal = checked ? std::nullopt : storeRefusal(name, value, empty)) {
            status.stat(*refusal);
            whole = false;
            continue;
        }
        if (filling) {
            lowerAsciiLetters(name);
            if (filler.goesAtEnd(name)) {
                filler.append(name, value);
                continue;
            }
            filler.finish();
            filling = false;
        }
        const std::size_t before = list.count();
        if (!addItem(list, name, value, status) || list.count() == before) {
            whole = false;
        }
    }
    filler.finish();
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

// Fields are scanned through pointers: a load reads every character of the
// file here, and indexing the string at each one cost more than decoding it.
TextView SettingsReader::readField() {
    if (atEnd()) {
        throw Failure(u"Input past end of file");
    }
    const char16_t* const begin = text_.data();
    const char16_t* const end = begin + text_.size();
    const char16_t* at = begin + pos_;
    const auto lineEnd = [](char16_t c) { return c == CR || c == LF; };
    while (at != end && (*at == u' ' || *at == u'\t')) {
        ++at;
    }
    const char16_t* const start = at;
    quoted_ = at != end && *at == u'"';
    TextView field;
    if (quoted_) {
        ++at;
        while (at != end && *at != u'"' && !lineEnd(*at)) {
            ++at;
        }
        field = TextView(start + 1, static_cast<std::size_t>(at - start - 1));
        while (at != end && *at != u',' && !lineEnd(*at)) {
            ++at; // after the closing quote, the rest of the field is ignored
        }
    } else {
        while (at != end && *at != u',' && !lineEnd(*at)) {
            ++at;
        }
        const char16_t* last = at;
        while (last != start && (last[-1] == u' ' || last[-1] == u'\t')) {
            --last;
        }
        field = TextView(start, static_cast<std::size_t>(last - start));
    }
    if (at != end && *at == u',') {
        ++at;
    } else {
        if (at != end && *at == CR) {
            ++at;
        }
        if (at != end && *at == LF) {
            ++at;
        }
    }
    pos_ = static_cast<std::size_t>(at - begin);
    return field;
}

} // namespace zorlo
