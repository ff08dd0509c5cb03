#pragma once

#include "text/Text.hpp"

namespace zorlo {

// Where single events are reported: the console's status line and its echo in
// the output pane.
class StatusSink {
  public:
    virtual ~StatusSink() = default;
    virtual void stat(const Text& message) = 0;
};

// Where the store shows a message that waits for OK: the console's message box.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void messageBox(const Text& text, const Text& title) = 0;
};

} // namespace zorlo
