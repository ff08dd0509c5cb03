// The hash table behind BinList's name and value indexes: open addressing with
// linear probing over a power-of-two number of slots, at most half of them
// used. Invariant: no empty slot lies between a node's home slot (its hash
// masked) and the slot it sits in, so a lookup may stop at the first empty one.

#include "store/BinListNode.hpp"

namespace zorlo {

std::uint64_t binlist::foldHash(TextView text) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const char16_t c : text) {
        hash ^= foldCase(c);
        hash *= 0x100000001B3ULL;
    }
    return hash ^ (hash >> 31);
}

void BinList::Table::reserve(std::size_t nodes) {
    std::size_t size = std::max<std::size_t>(16, slots_.size());
    while (2 * nodes > size) {
        size *= 2;
    }
    if (size == slots_.size()) {
        return;
    }
    std::vector<Slot> old(size);
    old.swap(slots_);
    used_ = 0;
    for (const Slot& slot : old) {
        if (slot.node != nullptr) {
            insert(slot.hash, slot.node);
        }
    }
}

void BinList::Table::prefetch(std::uint32_t hash) const {
    if (!slots_.empty()) {
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }
}

void BinList::Table::insert(std::uint32_t hash, Node* node) {
    if (2 * (used_ + 1) > slots_.size()) {
        reserve(std::max<std::size_t>(8, used_ * 2));
    }
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].node != nullptr) {
        at = (at + 1) & mask;
    }
    slots_[at] = Slot{hash, node};
    ++used_;
}

void BinList::Table::erase(std::uint32_t hash, const Node* node) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].node != node) {
        at = (at + 1) & mask;
    }
    // Later slots of the same run move up where their probe may start, so
    // that no lookup stops early at the hole.
    std::size_t hole = at;
    for (std::size_t next = (hole + 1) & mask; slots_[next].node != nullptr;
         next = (next + 1) & mask) {
        const std::size_t home = slots_[next].hash & mask;
        if (((next - home) & mask) >= ((next - hole) & mask)) {
            slots_[hole] = slots_[next];
            hole = next;
        }
    }
    slots_[hole] = Slot{};
    --used_;
}

} // namespace zorlo
