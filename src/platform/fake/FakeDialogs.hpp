#pragma once

#include "platform/Dialogs.hpp"
#include "platform/fake/FakeEvent.hpp"

#include <deque>

namespace zorlo {

// Modal boxes answered from queues filled beforehand; an empty queue answers
// No or Cancel, so a script that forgets an answer never hangs.
class FakeDialogs : public Dialogs {
  public:
    explicit FakeDialogs(FakeEventLog& log) : log_(log) {}

    void queueAnswer(bool yes) { answers_.push_back(yes); }
    void queueInput(std::optional<Text> text) { inputs_.push_back(std::move(text)); }

    void messageBox(const Text& text, const Text& title) override;
    bool question(const Text& text, const Text& title) override;
    std::optional<Text> inputBox(const Text& prompt, const Text& title, const Text& defaultText,
                                 int leftTwips, int topTwips) override;

    // Where the last input box was placed, in screen twips.
    int lastInputLeft() const { return lastInputLeft_; }
    int lastInputTop() const { return lastInputTop_; }

  private:
    FakeEventLog& log_;
    std::deque<bool> answers_;
    std::deque<std::optional<Text>> inputs_;
    int lastInputLeft_ = 0;
    int lastInputTop_ = 0;
};

} // namespace zorlo
