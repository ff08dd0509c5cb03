// The pattern rule: any text against any pattern must give an answer or the
// invalid-pattern failure, never a crash or a hang; on short inputs the
// compiled matcher must agree with a naive recursive reading of the rule.
#include "FuzzSupport.hpp"

#include "store/Pattern.hpp"
#include "text/Failure.hpp"

#include <optional>
#include <vector>

using namespace zorlo;
using zorlo::fuzz::check;
using zorlo::fuzz::fromAlphabet;
using zorlo::fuzz::shown;

namespace {

// Wildcards, bracket syntax, letters of both cases (Latin-1 and Windows-1252
// pairs included), digits and a character that folds to nothing.
constexpr TextView kAlphabet = u"aAbBzZ09?*#[]!-\u00E9\u00C9\u0161\u0160\u00FF\u0178 x";

// ---- The rule, read naively: recursion on the raw pattern text ----

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool inRange(char16_t c, char16_t low, char16_t high) {
    for (const char16_t v : {c, foldCase(c), upperCase(c)}) {
        if (v >= low && v <= high) {
            return true;
        }
    }
    return false;
}

// The items of a list without its brackets and without a leading '!'. A '-'
// joins the characters either side of it, unless it is first or last.
struct Item {
    char16_t low;
    char16_t high;
};
std::optional<std::vector<Item>> listItems(TextView list) {
    std::vector<Item> items;
    std::size_t j = 0;
    while (j < list.size()) {
        const bool joined =
            j + 2 < list.size() && list[j + 1] == u'-' && !(j == 0 && list[j] == u'-');
        if (joined) {
            if (list[j] > list[j + 2]) {
                return std::nullopt; // falling range
            }
            items.push_back({list[j], list[j + 2]});
            j += 3;
        } else {
            items.push_back({list[j], list[j]});
            j += 1;
        }
    }
    return items;
}

bool validReference(TextView p) {
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] != u'[') {
            continue;
        }
        const std::size_t close = p.find(u']', i + 1);
        if (close == TextView::npos) {
            return false;
        }
        TextView list = p.substr(i + 1, close - i - 1);
        if (!list.empty() && list.front() == u'!') {
            list.remove_prefix(1);
        }
        if (!listItems(list)) {
            return false;
        }
        i = close;
    }
    return true;
}

bool inList(char16_t c, TextView list) {
    const bool negated = !list.empty() && list.front() == u'!';
    if (negated) {
        list.remove_prefix(1);
    }
    bool found = false;
    const auto items = listItems(list);
    for (const Item& item : *items) {
        found = found || inRange(c, item.low, item.high);
    }
    return found != negated;
}

class Reference {
  public:
    Reference(TextView text, TextView pattern)
        : t_(text), p_(pattern), memo_((text.size() + 1) * (pattern.size() + 1), -1) {}
    bool matches() { return at(0, 0); }

  private:
    bool at(std::size_t ti, std::size_t pi) {
        signed char& m = memo_[ti * (p_.size() + 1) + pi];
        if (m < 0) {
            m = compute(ti, pi) ? 1 : 0;
        }
        return m == 1;
    }
    bool compute(std::size_t ti, std::size_t pi) {
        if (pi == p_.size()) {
            return ti == t_.size();
        }
        const char16_t pc = p_[pi];
        if (pc == u'*') {
            for (std::size_t k = ti; k <= t_.size(); ++k) {
                if (at(k, pi + 1)) {
                    return true;
                }
            }
            return false;
        }
        if (ti == t_.size()) {
            return false;
        }
        const char16_t tc = t_[ti];
        if (pc == u'?') {
            return at(ti + 1, pi + 1);
        }
        if (pc == u'#') {
            return isDigit(tc) && at(ti + 1, pi + 1);
        }
        if (pc == u'[') {
            const std::size_t close = p_.find(u']', pi + 1);
            return inList(tc, p_.substr(pi + 1, close - pi - 1)) && at(ti + 1, close + 1);
        }
        return foldCase(tc) == foldCase(pc) && at(ti + 1, pi + 1);
    }

    TextView t_;
    TextView p_;
    std::vector<signed char> memo_;
};

// A pattern that matches exactly the given text (ignoring case): every
// character that means something in a pattern is put in brackets.
Text escaped(TextView text) {
    Text out;
    for (const char16_t c : text) {
        if (c == u'?' || c == u'*' || c == u'#' || c == u'[') {
            out += u'[';
            out += c;
            out += u']';
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // First byte: how to read the rest; the rest: text, a zero byte, pattern.
    const bool smallAlphabet = (data[0] & 1) == 0;
    const std::uint8_t* rest = data + 1;
    const std::size_t restSize = size - 1;
    std::size_t split = 0;
    while (split < restSize && rest[split] != 0) {
        ++split;
    }
    const std::uint8_t* patternBytes = rest + split + (split < restSize ? 1 : 0);
    const std::size_t patternSize = restSize - split - (split < restSize ? 1 : 0);
    const auto decode = [&](const std::uint8_t* p, std::size_t n) {
        return smallAlphabet ? fromAlphabet(p, n, kAlphabet)
                             : fromUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
    };
    const Text text = decode(rest, split);
    const Text pattern = decode(patternBytes, patternSize);

    std::optional<Pattern> compiled;
    try {
        compiled.emplace(pattern);
    } catch (const Failure&) {
    }
    check(compiled.has_value() == validReference(pattern),
          "validity of " + shown(pattern) + " differs from the rule");
    if (!compiled) {
        return 0;
    }
    const bool result = compiled->matches(text);
    if (text.size() <= 16 && pattern.size() <= 16) {
        check(result == Reference(text, pattern).matches(),
              shown(text) + " against " + shown(pattern) + " differs from the rule");
    }
    if (compiled->isPlain()) {
        check(result == equalsIgnoreCase(text, pattern),
              "plain pattern " + shown(pattern) + " is no case-blind comparison");
    }
    // Any text, with its special characters bracketed, matches itself.
    const Text own = escaped(text);
    check(Pattern(own).matches(text), shown(text) + " does not match its escaped form");
    return 0;
}
