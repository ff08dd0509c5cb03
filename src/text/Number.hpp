#pragma once

#include "text/Text.hpp"

#include <optional>

namespace zorlo {

// A stored number converted to a whole number: blanks around it are allowed, a
// fraction rounds to the nearest whole number (halves to even). Throws Failure
// when the text is no number or does not fit.
long long toWholeNumber(TextView text);

// Only an integer written as one (optional sign, digits, blanks around it);
// nullopt otherwise. Used where a fractional or garbled value must do nothing.
std::optional<long long> parseInteger(TextView text);

} // namespace zorlo
