#include "text/Number.hpp"

#include "text/Failure.hpp"

#include <cmath>
#include <cstdlib>
#include <string>

namespace zorlo {

namespace {

constexpr long long kLimit = 2147483647LL; // a window coordinate must fit 32 bits

TextView trimBlanks(TextView text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

long long toWholeNumber(TextView text) {
    const TextView trimmed = trimBlanks(text);
    std::string ascii;
    for (const char16_t c : trimmed) {
        const bool allowed = (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' ||
                             c == u'e' || c == u'E';
        if (!allowed) {
            ascii.clear();
            break;
        }
        ascii.push_back(static_cast<char>(c));
    }
    if (ascii.empty()) { // empty, or a character no number holds
        throw Failure(u"Type mismatch: \"" + Text(text) + u"\" is not a number");
    }
    char* end = nullptr;
    const double value = std::strtod(ascii.c_str(), &end);
    if (end != ascii.c_str() + ascii.size() || !std::isfinite(value)) {
        throw Failure(u"Type mismatch: \"" + Text(text) + u"\" is not a number");
    }
    const double rounded = std::nearbyint(value); // the default mode rounds halves to even
    if (rounded > static_cast<double>(kLimit) || rounded < -static_cast<double>(kLimit)) {
        throw Failure(u"Overflow: " + Text(text));
    }
    return static_cast<long long>(rounded);
}

std::optional<long long> parseInteger(TextView text) {
    TextView t = trimBlanks(text);
    bool negative = false;
    if (!t.empty() && (t.front() == u'-' || t.front() == u'+')) {
        negative = t.front() == u'-';
        t.remove_prefix(1);
    }
    if (t.empty() || t.size() > 9) {
        return std::nullopt;
    }
    long long value = 0;
    for (const char16_t c : t) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

} // namespace zorlo
