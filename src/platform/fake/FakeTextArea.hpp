#pragma once

#include "platform/TextArea.hpp"

#include <algorithm>

namespace zorlo {

class ConsoleEvents;

// A text area held in memory that behaves like a Windows multi-line text box:
// every write raises the console's change handling before it returns, and the
// editing keys act on the text the way the box's own key handling does.
class FakeTextArea : public TextArea {
  public:
    void attach(ConsoleEvents* console) { console_ = console; }

    Text text() const override { return text_; }
    int length() const override { return static_cast<int>(text_.size()); }
    void setText(const Text& text) override;
    int caret() const override { return caret_; }
    void setCaret(int position) override;
    int selLength() const override { return selLength_; }
    void setSelLength(int length) override;
    void replaceSelection(const Text& text) override;
    Text textFrom(int position) const override {
        return text_.substr(static_cast<std::size_t>(clamp(position)));
    }
    Text textBetween(int from, int to) const override {
        const int start = clamp(from);
        return text_.substr(static_cast<std::size_t>(start),
                            static_cast<std::size_t>(std::max(clamp(to) - start, 0)));
    }
    Unchanged takeUnchanged() override;
    int lastIndexOf(TextView needle) const override {
        const std::size_t at = text_.rfind(needle);
        return at == Text::npos ? -1 : static_cast<int>(at);
    }
    void replaceStart(int count, const Text& head) override;

    // The box's own reactions to keys that reached it (not cancelled).
    void insertLineBreak() { replaceSelection(Text(CRLF)); }
    void backspace();
    void deleteForward();
    void moveLeft();
    void moveRight();
    void home(bool extendSelection);
    void end();

  private:
    int clamp(int position) const;
    // Where one step back or forward lands; a CR LF pair counts as one character.
    int stepBack(int position) const;
    int stepForward(int position) const;
    int lineStart(int position) const;
    int lineEnd(int position) const;
    void edit(int start, int count, const Text& insert);
    // The characters from start to the end of the text are about to change.
    void changing(int start, int count);
    void changed();

    ConsoleEvents* console_ = nullptr;
    Text text_;
    int caret_ = 0;
    int selLength_ = 0;
    // Unchanged since the last takeUnchanged: nothing known before the first.
    Unchanged same_;
};

} // namespace zorlo
