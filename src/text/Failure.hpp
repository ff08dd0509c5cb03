#pragma once

#include "text/Text.hpp"

#include <stdexcept>

namespace zorlo {

// The engine's one failure type. Operations that do not handle a failure
// themselves let it travel to the dispatcher, which shows its description.
class Failure : public std::runtime_error {
  public:
    explicit Failure(Text description)
        : std::runtime_error(toUtf8(description)), description_(std::move(description)) {}
    const Text& description() const noexcept { return description_; }

  private:
    Text description_;
};

} // namespace zorlo
