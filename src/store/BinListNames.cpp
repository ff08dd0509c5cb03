// BinList's name index: the nodes whose NAME holds no wildcard, by the hash of
// their folded name. Invariant: a node is in names_ exactly when it is in the
// list and its NAME is plain, under the nameHash of its current NAME; so a name
// changes only between unlink and link (setName).

#include "store/BinListNode.hpp"

#include "store/Pattern.hpp"

namespace zorlo {

void BinList::linkName(Node* node) {
    if (node->plain) {
        names_.insert(node->nameHash, node);
    }
}

void BinList::unlinkName(Node* node) {
    if (node->plain) {
        names_.erase(node->nameHash, node);
    }
}

void BinList::reserve(std::size_t pairs) {
    names_.reserve(pairs);
}

std::size_t BinList::findSameName(TextView name, std::size_t after) const {
    // A text with wildcards folds equal only to names with the same wildcards,
    // and those are not in the table.
    if (!isPlainName(name)) {
        return 0;
    }
    std::size_t best = 0;
    names_.forEach(static_cast<std::uint32_t>(binlist::foldHash(name)), [&](const Node* node) {
        if (equalsIgnoreCase(node->name(), name)) {
            const std::size_t position = positionOf(node);
            if (position > after && (best == 0 || position < best)) {
                best = position;
            }
        }
    });
    return best;
}

} // namespace zorlo
