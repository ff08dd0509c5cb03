#include "store/OrderKey.hpp"

#include "text/Failure.hpp"

#include <algorithm>

namespace zorlo {

int orderKeyBeyondAscii(char16_t c) {
    const int code = cp1252Byte(c);
    if (code < 0) {
        return 224 + c; // after every 8-bit key (those end at 223)
    }
    return code > 90 ? code - 32 : code;
}

bool orderKeyGreater(TextView stored, TextView name) {
    if (stored.empty() || name.empty()) {
        throw Failure(u"Invalid argument: a name to be ordered is empty");
    }
    const std::size_t limit = std::min({stored.size(), name.size(), kOrderKeyLength});
    for (std::size_t j = 0; j < limit; ++j) {
        const int s = orderKey(stored[j]);
        const int n = orderKey(name[j]);
        if (s != n) {
            return s > n;
        }
    }
    return false;
}

} // namespace zorlo
