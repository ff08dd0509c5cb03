#pragma once

#include "platform/Dialogs.hpp"

class QWidget;

namespace zorlo {

// The message, question and name boxes, all modal to the console window.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget& owner) : owner_(owner) {}
    void messageBox(const Text& text, const Text& title) override;
    bool question(const Text& text, const Text& title) override;
    std::optional<Text> inputBox(const Text& prompt, const Text& title, const Text& defaultText,
                                 int leftTwips, int topTwips) override;
    // Nobody can answer any more (the program is ending, the display may be
    // gone): no box opens; a question is answered No and a name box cancelled.
    void detach() { detached_ = true; }

  private:
    QWidget& owner_;
    bool detached_ = false;
};

} // namespace zorlo
