// BinList's value index: every node by the hash of its folded VALUE, built when
// first asked for (a load never needs it, a launch may). Invariant: while
// valuesBuilt_ is false, values_ is empty; once it is true, every node of the
// list is in values_ under the hash of its current VALUE, so a value changes
// only between unlink and link (setValue).

#include "store/BinListNode.hpp"

namespace zorlo {

namespace {
// Worked out again when the pair leaves the index rather than kept in every
// node: the index is built only for a launch, and a pair changes seldom.
std::uint32_t valueHash(const BinList::Node* node) {
    return static_cast<std::uint32_t>(binlist::foldHash(node->value()));
}

} // namespace

void BinList::linkValue(Node* node) const {
    if (valuesBuilt_) {
        values_.insert(valueHash(node), node);
    }
}

void BinList::unlinkValue(const Node* node) const {
    if (valuesBuilt_) {
        values_.erase(valueHash(node), node);
    }
}

bool BinList::holdsValue(TextView text) const {
    if (!valuesBuilt_) {
        valuesBuilt_ = true;
        for (auto it = begin(); it != end(); ++it) {
            linkValue(const_cast<Node*>(it.node_));
        }
    }
    bool held = false;
    values_.forEach(static_cast<std::uint32_t>(binlist::foldHash(text)), [&](const Node* node) {
        held = held || equalsIgnoreCase(Text(node->value()), text);
    });
    return held;
}

} // namespace zorlo
