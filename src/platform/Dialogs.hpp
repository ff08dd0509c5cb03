#pragma once

#include "text/Text.hpp"

#include <optional>

namespace zorlo {

// Modal boxes. Each call returns only after the user has answered.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A message with an OK button only.
    virtual void messageBox(const Text& text, const Text& title) = 0;
    // A Yes/No question with a question icon; true for Yes.
    virtual bool question(const Text& text, const Text& title) = 0;
    // A one-line input box placed at (left, top) in screen twips, or where the
    // desktop puts boxes when either is negative; nullopt when cancelled.
    virtual std::optional<Text> inputBox(const Text& prompt, const Text& title,
                                         const Text& defaultText, int leftTwips, int topTwips) = 0;
};

} // namespace zorlo
