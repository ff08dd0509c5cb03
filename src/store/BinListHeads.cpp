// The orders of names that BinList's subtrees keep extremes of, and the packed
// key heads that stand in for them. Invariant: a head never contradicts its
// order (BinListNode.hpp says how), so a descent may trust unequal heads.

#include "store/BinListNode.hpp"

#include "store/OrderKey.hpp"
#include "store/Pattern.hpp"

namespace zorlo::binlist {

namespace {

int foldKey(char16_t c) {
    return orderKey(foldCase(c));
}

template <typename Key> Head packHead(TextView name, Key key) {
    Head head = 0;
    for (std::size_t j = 0; j < std::min(name.size(), kHeadKeys); ++j) {
        const Head byte = headByte(key(name[j]));
        head |= byteAt(byte, j);
        if (byte == 255) {
            break;
        }
    }
    return head;
}

} // namespace

// An empty name counts as the greatest because the insertion walk stops at an
// empty name just as at a greater one (and fails there). Whether some name of
// a subtree orders after a new name (orderKeyGreater) then depends only on the
// subtree's greatest name.
int compareOrder(TextView a, TextView b) {
    if (a.empty() || b.empty()) {
        return static_cast<int>(a.empty()) - static_cast<int>(b.empty());
    }
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t j = 0; j < common; ++j) {
        const int ka = orderKey(a[j]);
        const int kb = orderKey(b[j]);
        if (ka != kb) {
            return ka < kb ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Names that begin alike without regard to case sit in one range of this order.
int compareFold(TextView a, TextView b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t j = 0; j < common; ++j) {
        const int ka = foldKey(a[j]);
        const int kb = foldKey(b[j]);
        if (ka != kb) {
            return ka < kb ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int comparePrefix(TextView name, TextView word) {
    for (std::size_t j = 0; j < word.size(); ++j) {
        if (j == name.size()) {
            return -1;
        }
        const int kn = foldKey(name[j]);
        const int kw = foldKey(word[j]);
        if (kn != kw) {
            return kn < kw ? -1 : 1;
        }
    }
    return 0;
}

bool beginsWith(TextView name, TextView word) {
    return equalsIgnoreCase(name.substr(0, word.size()), word);
}

Head orderHead(TextView name) {
    return name.empty() ? kEmptyOrderHead : packHead(name, orderKey);
}

Head foldHead(TextView name) {
    return packHead(name, foldKey);
}

} // namespace zorlo::binlist

namespace zorlo {

void BinList::Node::renamed() {
    const TextView text = name();
    orderHead = binlist::orderHead(text);
    foldHead = binlist::foldHead(text);
    plain = isPlainName(text);
    nameHash = static_cast<std::uint32_t>(binlist::foldHash(text));
}

} // namespace zorlo
