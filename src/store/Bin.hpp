#pragma once

#include "text/Text.hpp"

namespace zorlo {

// A pair as a list hands it out, its texts held by the list.
struct BinView {
    TextView NAME;
    TextView VALUE;
};

// One name/value pair of the macro or parameter list.
struct Bin {
    Text NAME;
    Text VALUE;

    operator BinView() const { return {NAME, VALUE}; }
};

} // namespace zorlo
