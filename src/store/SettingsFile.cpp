#include "store/SettingsFile.hpp"

#include "text/Failure.hpp"

namespace zorlo {

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
