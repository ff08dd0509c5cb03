// The hash table behind BinList's name and value indexes: open addressing with
// linear probing over a power-of-two number of slots, at most 13 in 16 of them
// used. A probe reads only the array of hashes, four bytes a slot, so even the
// long runs of a full table stay within a cache line or two, and the table
// costs 12 bytes a slot. Invariant: no empty slot lies between a node's home
// slot (its hash masked) and the slot it sits in, so a lookup may stop at the
// first empty one.

#include "store/BinListNode.hpp"

namespace zorlo {

namespace {
template <typename Chars> std::uint64_t foldHashOf(const Chars& text, std::size_t size) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (std::size_t at = 0; at < size; ++at) {
        hash ^= foldCase(text[at]);
        hash *= 0x100000001B3ULL;
    }
    return hash ^ (hash >> 31);
}
} // namespace

std::uint64_t binlist::foldHash(TextView text) {
    return foldHashOf(text, text.size());
}

std::uint64_t binlist::foldHash(ValueView value) {
    return foldHashOf(value, value.size());
}

namespace {
bool tooFull(std::size_t used, std::size_t slots) {
    return 16 * used > 13 * slots;
}
} // namespace

void BinList::Table::reserve(std::size_t nodes) {
    std::size_t size = std::max<std::size_t>(16, hashes_.size());
    while (tooFull(nodes, size)) {
        size *= 2;
    }
    if (size == hashes_.size()) {
        return;
    }
    std::vector<std::uint32_t> oldHashes(size);
    std::vector<Node*> oldNodes(size);
    oldHashes.swap(hashes_);
    oldNodes.swap(nodes_);
    used_ = 0;
    for (std::size_t at = 0; at < oldHashes.size(); ++at) {
        if (oldHashes[at] != 0) {
            insert(oldHashes[at], oldNodes[at]);
        }
    }
}

void BinList::Table::prefetch(std::uint32_t hash) const {
    if (!hashes_.empty()) {
        __builtin_prefetch(&hashes_[stored(hash) & (hashes_.size() - 1)]);
    }
}

void BinList::Table::insert(std::uint32_t hash, Node* node) {
    if (tooFull(used_ + 1, hashes_.size())) {
        reserve(std::max<std::size_t>(8, used_ * 2));
    }
    const std::size_t mask = hashes_.size() - 1;
    hash = stored(hash);
    std::size_t at = hash & mask;
    while (hashes_[at] != 0) {
        at = (at + 1) & mask;
    }
    hashes_[at] = hash;
    nodes_[at] = node;
    ++used_;
}

void BinList::Table::erase(std::uint32_t hash, const Node* node) {
    const std::size_t mask = hashes_.size() - 1;
    std::size_t at = stored(hash) & mask;
    while (nodes_[at] != node) {
        at = (at + 1) & mask;
    }
    // Later slots of the same run move up where their probe may start, so
    // that no lookup stops early at the hole.
    std::size_t hole = at;
    for (std::size_t next = (hole + 1) & mask; hashes_[next] != 0; next = (next + 1) & mask) {
        const std::size_t home = hashes_[next] & mask;
        if (((next - home) & mask) >= ((next - hole) & mask)) {
            hashes_[hole] = hashes_[next];
            nodes_[hole] = nodes_[next];
            hole = next;
        }
    }
    hashes_[hole] = 0;
    nodes_[hole] = nullptr;
    --used_;
}

} // namespace zorlo
