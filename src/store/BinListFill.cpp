// BinList's filler: a load of a file in the order the console saves it (every
// start after the first) appends every pair, and building the tree once at the
// end costs one step a pair where inserting each costs a descent, an ascent and
// rotations. Invariant: until finish, the filler's nodes are in list order in
// nodes_ and nowhere in the tree, the first linked_ of them in the indexes
// (link), each name plain and held once, none ordering after a later one; the
// list's tree stays empty.
//
// A name's slot in the name index is a read from anywhere in memory, which at
// 100,000 names is most of the time a pair takes. So the filler looks a name up
// only when it has to, and puts appended names into the index in runs, asking
// for each slot a few names ahead.

#include "store/BinListNode.hpp"

#include "store/OrderKey.hpp"
#include "store/Pattern.hpp"

#include <algorithm>

namespace zorlo {

BinList::Filler::Filler(BinList& list) : list_(list) {}

namespace {

bool isAscii(TextView name) {
    return std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x80; });
}

} // namespace

bool BinList::Filler::goesAtEnd(TextView name) {
    if (finished_ || name.empty() || !isPlainName(name)) {
        return false;
    }
    // A name of ASCII characters that orders after every name so far is held
    // by none of them: a name equal to it without regard to case is ASCII too
    // and has the same order keys, so it would order alike, not before.
    if (isAscii(name) &&
        (maxOrder_ == nullptr || binlist::compareOrder(name, maxOrder_->name()) > 0)) {
        return true;
    }
    linkAppended();
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
    nodes_.push_back(node);
    if (maxOrder_ == nullptr || node->orderHead > maxOrder_->orderHead ||
        (node->orderHead == maxOrder_->orderHead &&
         binlist::compareOrder(node->name(), maxOrder_->name()) > 0)) {
        maxOrder_ = node;
    }
}

void BinList::Filler::linkAppended() {
    constexpr std::size_t kAhead = 8;
    // Sized once for every pair here, not doubled as they go in. A load of a
    // file of ASCII names comes here first at its end, with every pair.
    list_.reserve(nodes_.size());
    for (; linked_ < nodes_.size(); ++linked_) {
        if (linked_ + kAhead < nodes_.size()) {
            list_.names_.prefetch(nodes_[linked_ + kAhead]->nameHash);
        }
        list_.link(nodes_[linked_]);
    }
}

void BinList::Filler::finish() {
    if (finished_ || nodes_.empty()) {
        finished_ = true;
        return; // a list that was not empty keeps its tree
    }
    linkAppended();
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
