#pragma once

// BinList's insides, shared by the files that make it up: the packed key heads,
// the node, and the hash table's lookup. Nothing outside store/BinList*.cpp
// includes this.
//
// Invariant of the key heads: for any two names, a head that is greater in the
// order of unsigned numbers belongs to the name that is greater in the name's
// own order (compareOrder for order heads, compareFold for fold heads). Equal
// heads say nothing, and the names themselves decide.

#include "store/BinList.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace zorlo {

namespace binlist {

// Case-blind hash of a text, the same for every spelling foldCase makes equal.
std::uint64_t foldHash(TextView text);
// The same for a value, whichever way it is kept.
std::uint64_t foldHash(ValueView value);

// The order of the names' order keys, an empty name counting as the greatest.
int compareOrder(TextView a, TextView b);
// Folded names ordered by the keys of their folded characters.
int compareFold(TextView a, TextView b);
// Where a name lies in compareFold's order against the names that begin with
// word: -1 before all of them, 0 possibly one of them, 1 after all of them.
int comparePrefix(TextView name, TextView word);
bool beginsWith(TextView name, TextView word);

// The first keys of a name packed into one number that orders as the keys do,
// so that most comparisons in a descent need not reach the name's characters.
// A key byte is the key plus one (0 pads a short name); keys from 254 on share
// the byte 255 and end the packing, so equal heads say nothing and the names
// themselves decide.
using Head = std::uint64_t;
constexpr std::size_t kHeadKeys = 7;
constexpr Head kEmptyOrderHead = Head{0xFF} << 56; // above every name, as in compareOrder

inline Head headByte(int key) {
    return key < 254 ? static_cast<Head>(key + 1) : 255;
}

inline Head byteAt(Head byte, std::size_t j) {
    return byte << (48 - 8 * j);
}

Head orderHead(TextView name);
Head foldHead(TextView name);

} // namespace binlist

// A pair's texts in one block: the name's and the value's sizes, then the
// name's characters, then the value's, at a byte each where every one of them
// fits a byte (the value's size then has kValueInBytes set).
namespace binlist {
constexpr std::size_t kTextsHeader = 2 * sizeof(std::uint32_t) / sizeof(char16_t);
constexpr std::uint32_t kValueInBytes = std::uint32_t{1} << 31;
constexpr std::size_t kLongestText = kValueInBytes - 1;

inline std::uint32_t textSize(const char16_t* texts, std::size_t which) {
    std::uint32_t size = 0;
    std::memcpy(&size, texts + which * sizeof(size) / sizeof(char16_t), sizeof(size));
    return size;
}
} // namespace binlist

struct alignas(32) BinList::Node {
    Node(char16_t* pairTexts, bool ownTexts, std::uint32_t rank)
        : priority(rank >> 2), heapTexts(ownTexts), texts(pairTexts) {
        renamed();
        wild = plain ? 0 : 1;
    }

    void renamed();

    TextView name() const { return {texts + binlist::kTextsHeader, binlist::textSize(texts, 0)}; }
    ValueView value() const {
        const char16_t* at = texts + binlist::kTextsHeader + binlist::textSize(texts, 0);
        const std::uint32_t kept = binlist::textSize(texts, 1);
        if ((kept & binlist::kValueInBytes) != 0) {
            return {reinterpret_cast<const unsigned char*>(at), kept & binlist::kLongestText};
        }
        return TextView(at, kept);
    }
    BinView view() const { return {name(), value()}; }

    // The heads of the subtree's extremes, read from the extremes themselves:
    // a copy in every node would cost a fifth of its size.
    binlist::Head maxOrderHead() const { return maxOrder->orderHead; }
    binlist::Head minFoldHead() const { return minFold->foldHead; }
    binlist::Head maxFoldHead() const { return maxFold->foldHead; }

    // What a descent reads comes first.
    Node* left = nullptr;
    Node* right = nullptr;
    std::uint32_t size = 1;
    std::uint32_t priority : 30;
    std::uint32_t plain : 1 = 1;
    std::uint32_t heapTexts : 1; // a block of its own, else one of the list's text blocks
    binlist::Head orderHead = 0;
    binlist::Head leftMaxOrderHead = 0; // the left subtree's maxOrderHead, 0 without one
    Node* parent = nullptr;
    binlist::Head foldHead = 0;
    // The subtree's extremes, as nodes, so that no name is copied.
    const Node* maxOrder = this;
    const Node* minFold = this;
    const Node* maxFold = this;
    char16_t* texts;
    std::uint32_t wild = 0;
    std::uint32_t nameHash = 0;
};
// A load of 100,000 pairs holds 9.6 MB of nodes. What a descent reads, the
// first 48 bytes, lies in one cache line for every other node and in two for
// the rest: a larger node, aligned to the line, cost a third more memory and
// made no descent measurably faster.
static_assert(sizeof(BinList::Node) == 96);

template <typename Visit> void BinList::Table::forEach(std::uint32_t hash, Visit&& visit) const {
    if (hashes_.empty()) {
        return;
    }
    const std::uint32_t wanted = stored(hash);
    const std::size_t mask = hashes_.size() - 1;
    for (std::size_t at = wanted & mask; hashes_[at] != 0; at = (at + 1) & mask) {
        if (hashes_[at] == wanted) {
            visit(nodes_[at]);
        }
    }
}

} // namespace zorlo
