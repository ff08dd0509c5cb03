#include "platform/fake/FakeTextArea.hpp"

#include "platform/ConsoleEvents.hpp"

#include <algorithm>

namespace zorlo {

int FakeTextArea::clamp(int position) const {
    return std::clamp(position, 0, length());
}

void FakeTextArea::setText(const Text& text) {
    changing(0, length());
    text_ = text;
    // A Windows text box puts the caret at the start when its whole text is set.
    caret_ = 0;
    selLength_ = 0;
    changed();
}

void FakeTextArea::replaceStart(int count, const Text& head) {
    changing(0, clamp(count));
    text_.replace(0, static_cast<std::size_t>(clamp(count)), head);
    caret_ = 0;
    selLength_ = 0;
    changed();
}

void FakeTextArea::setCaret(int position) {
    caret_ = clamp(position);
    selLength_ = 0;
}

void FakeTextArea::setSelLength(int length) {
    selLength_ = std::clamp(length, 0, this->length() - caret_);
}

void FakeTextArea::replaceSelection(const Text& text) {
    edit(caret_, selLength_, text);
}

void FakeTextArea::edit(int start, int count, const Text& insert) {
    changing(start, count);
    text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(count), insert);
    caret_ = start + static_cast<int>(insert.size());
    selLength_ = 0;
    changed();
}

void FakeTextArea::changing(int start, int count) {
    same_.head = std::min(same_.head, start);
    same_.tail = std::min(same_.tail, length() - start - count);
}

TextArea::Unchanged FakeTextArea::takeUnchanged() {
    const Unchanged same = same_;
    same_ = Unchanged{length(), length()};
    return same;
}

void FakeTextArea::changed() {
    if (console_ != nullptr) {
        console_->textChange();
    }
}

int FakeTextArea::stepBack(int position) const {
    if (position >= 2 && text_[position - 2] == CR && text_[position - 1] == LF) {
        return position - 2;
    }
    return std::max(position - 1, 0);
}

int FakeTextArea::stepForward(int position) const {
    if (position + 1 < length() && text_[position] == CR && text_[position + 1] == LF) {
        return position + 2;
    }
    return std::min(position + 1, length());
}

int FakeTextArea::lineStart(int position) const {
    while (position > 0 && text_[position - 1] != LF) {
        --position;
    }
    return position;
}

int FakeTextArea::lineEnd(int position) const {
    while (position < length() && text_[position] != CR && text_[position] != LF) {
        ++position;
    }
    return position;
}

void FakeTextArea::backspace() {
    if (selLength_ > 0) {
        edit(caret_, selLength_, Text());
    } else if (caret_ > 0) {
        const int from = stepBack(caret_);
        edit(from, caret_ - from, Text());
    }
}

void FakeTextArea::deleteForward() {
    if (selLength_ > 0) {
        edit(caret_, selLength_, Text());
    } else if (caret_ < length()) {
        edit(caret_, stepForward(caret_) - caret_, Text());
    }
}

void FakeTextArea::moveLeft() {
    setCaret(stepBack(caret_));
}

void FakeTextArea::moveRight() {
    setCaret(stepForward(caret_));
}

void FakeTextArea::home(bool extendSelection) {
    const int was = caret_;
    setCaret(lineStart(caret_));
    if (extendSelection) {
        selLength_ = was - caret_;
    }
}

void FakeTextArea::end() {
    setCaret(lineEnd(caret_));
}

} // namespace zorlo
