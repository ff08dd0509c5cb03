// BinList's value index: every node by the hash of its folded VALUE, built when
// first asked for (a load never needs it, a launch may). Invariant: while
// valuesBuilt_ is false, values_ is empty and no valueHash is read; once it is
// true, every node of the list is in values_ under the valueHash of its
// current VALUE, so a value changes only between unlink and link (setValue).

#include "store/BinListNode.hpp"

namespace zorlo {

void BinList::linkValue(Node* node) const {
    if (valuesBuilt_) {
        node->valueHash = static_cast<std::uint32_t>(binlist::foldHash(node->value()));
        values_.insert(node->valueHash, node);
    }
}

void BinList::unlinkValue(const Node* node) const {
    if (valuesBuilt_) {
        values_.erase(node->valueHash, node);
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
        held = held || equalsIgnoreCase(node->value(), text);
    });
    return held;
}

} // namespace zorlo
