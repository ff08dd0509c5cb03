// BinList's filler: a load of a file in the order the console saves it (every
// start after the first) appends every pair, and building the tree once at the
// end costs one step a pair where inserting each costs a descent, an ascent and
// rotations. Invariant: until finish, the filler's nodes are in the indexes
// (link) and nowhere in the tree, in list order in nodes_, each name plain and
// held once, none ordering after a later one; the list's tree stays empty.

#include "store/BinListNode.hpp"

#include "store/OrderKey.hpp"
#include "store/Pattern.hpp"

namespace zorlo {

BinList::Filler::Filler(BinList& list) : list_(list) {}

bool BinList::Filler::goesAtEnd(TextView name) const {
    if (finished_ || name.empty() || !isPlainName(name)) {
        return false;
    }
    bool held = false;
    list_.names_.forEach(
        static_cast<std::uint32_t>(binlist::foldHash(name)),
        [&](const Node* node) { held = held || equalsIgnoreCase(node->name(), name); });
    // No name orders after this one when the greatest does not: a name that
    // does is at most the greatest in compareOrder's order, so the greatest
    // beats the new name at the same place or sooner.
    return !held && (maxOrder_ == nullptr || !orderKeyGreater(maxOrder_->name(), name));
}

void BinList::Filler::append(TextView name, TextView value) {
    Node* node = list_.make(name, value, true);
    list_.link(node);
    nodes_.push_back(node);
    if (maxOrder_ == nullptr || node->orderHead > maxOrder_->orderHead ||
        (node->orderHead == maxOrder_->orderHead &&
         binlist::compareOrder(node->name(), maxOrder_->name()) > 0)) {
        maxOrder_ = node;
    }
}

void BinList::Filler::finish() {
    if (finished_ || nodes_.empty()) {
        finished_ = true;
        return; // a list that was not empty keeps its tree
    }
    finished_ = true;
    // The tree's right spine, from `top` up by parent links, is the stack of a
    // Cartesian tree build in list order: a node leaves it only once its
    // subtree is whole, so that is when its sums are pulled, children first.
    Node* top = nullptr;
    for (Node* node : nodes_) {
        Node* last = nullptr;
        while (top != nullptr && top->priority < node->priority) {
            pull(top);
            last = top;
            top = top->parent;
        }
        node->left = last;
        if (last != nullptr) {
            last->parent = node;
        }
        node->parent = top;
        if (top != nullptr) {
            top->right = node;
        }
        top = node;
    }
    Node* root = nullptr;
    for (; top != nullptr; top = top->parent) {
        pull(top);
        root = top;
    }
    list_.root_ = root;
    std::vector<Node*>().swap(nodes_);
}

} // namespace zorlo
