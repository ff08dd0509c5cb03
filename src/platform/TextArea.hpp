#pragma once

#include "text/Text.hpp"

namespace zorlo {

// The console's text area. Positions count UTF-16 units; the caret is the number
// of characters before it; the selection starts at the caret. Line breaks are
// CR LF as the engine sees them, whatever the widget keeps inside.
// Every write (setText, replaceSelection) raises the engine's change handling
// (Console::txtCLI_Change) at once, before it returns.
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
};

} // namespace zorlo
