#include "launch/ArgumentText.hpp"

namespace zorlo {

Text launchArgument(TextView argument) {
    if (argument.find_first_of(u" \t") == TextView::npos) {
        return Text(argument);
    }
    Text out = u"\"";
    std::size_t backslashes = 0;
    for (const char16_t c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there they must be doubled,
        // and one more makes the quote a literal one.
        out.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, u'\\');
    out += u'"';
    return out;
}

} // namespace zorlo
