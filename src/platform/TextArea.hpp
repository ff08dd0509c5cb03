#pragma once

#include "text/Text.hpp"

#include <algorithm>

namespace zorlo {

// The console's text area. Positions count UTF-16 units; the caret is the number
// of characters before it; the selection starts at the caret. Line breaks are
// CR LF as the engine sees them, whatever the widget keeps inside.
// Every write (setText, replaceSelection, replaceStart) raises the engine's
// change handling (ConsoleEvents::textChange) at once, before it returns.
//
// The pane holds up to 64,000 characters and the engine looks at its end on
// every change, so the reads below take only the part asked for; an adapter
// that can reach that part without copying the whole text should override them.
class TextArea {
  public:
    virtual ~TextArea() = default;
    virtual Text text() const = 0;
    virtual int length() const { return static_cast<int>(text().size()); }
    virtual void setText(const Text& text) = 0;
    virtual int caret() const = 0;
    virtual void setCaret(int position) = 0;
    virtual int selLength() const = 0;
    virtual void setSelLength(int length) = 0;
    virtual void replaceSelection(const Text& text) = 0;

    // The text from a position (clamped to 0..length) to the end.
    virtual Text textFrom(int position) const {
        Text all = text();
        all.erase(0, std::min(static_cast<std::size_t>(std::max(position, 0)), all.size()));
        return all;
    }
    // The text between two positions, each clamped to 0..length (empty when to <= from).
    virtual Text textBetween(int from, int to) const {
        Text part = textFrom(from);
        part.resize(std::min(part.size(), static_cast<std::size_t>(std::max(to - from, 0))));
        return part;
    }

    // How many characters at the start (head) and at the end (tail) of the
    // text are the same as at the last call: whatever changed lies between.
    // It lets the engine keep the command line up to date by reading only what
    // a key changed. An adapter that does not follow its edits says nothing is
    // known (both 0), and the reader reads the whole again.
    struct Unchanged {
        int head = 0;
        int tail = 0;
    };
    virtual Unchanged takeUnchanged() { return {}; }
    // Where the last occurrence of needle starts, as std::u16string::rfind
    // says it (an empty needle: the length); -1 when there is none.
    virtual int lastIndexOf(TextView needle) const {
        const std::size_t at = text().rfind(needle);
        return at == Text::npos ? -1 : static_cast<int>(at);
    }
    // The same as setText(head + textFrom(count)), caret at the start as after
    // any setText, with one change raised.
    virtual void replaceStart(int count, const Text& head) { setText(head + textFrom(count)); }
};

} // namespace zorlo
