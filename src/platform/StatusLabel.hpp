#pragma once

#include "text/Text.hpp"

namespace zorlo {

// The one-line status label above the text area.
class StatusLabel {
  public:
    virtual ~StatusLabel() = default;
    virtual Text caption() const = 0;
    virtual void setCaption(const Text& caption) = 0;
};

} // namespace zorlo
