#pragma once

#include "text/Text.hpp"

namespace zorlo {

// One name/value pair of the macro or parameter list.
struct Bin {
    Text NAME;
    Text VALUE;
};

} // namespace zorlo
