// BinList's order tree: a treap in list order, with order statistics. A node's
// place in the list is its place in an in-order walk; its priority only shapes
// the tree. Invariants: no node's priority exceeds its parent's; every node's
// size, wild count, leftMaxOrderHead and extremes (maxOrder, minFold, maxFold)
// are those of its subtree, so each change pulls them up to the root; and
// every node of the tree is in the indexes (link) while it is in the list.

#include "store/BinListNode.hpp"

#include "store/OrderKey.hpp"

#include <stdexcept>
#include <type_traits>

namespace zorlo {

using binlist::byteAt;
using binlist::Head;
using binlist::headByte;
using binlist::kHeadKeys;

namespace {

bool orderAbove(const BinList::Node* a, const BinList::Node* b) {
    return a->orderHead != b->orderHead ? a->orderHead > b->orderHead
                                        : binlist::compareOrder(a->name(), b->name()) > 0;
}

int foldOrder(const BinList::Node* a, const BinList::Node* b) {
    if (a->foldHead != b->foldHead) {
        return a->foldHead < b->foldHead ? -1 : 1;
    }
    return binlist::compareFold(a->name(), b->name());
}

} // namespace

BinView BinList::const_iterator::operator*() const {
    return node_->view();
}

BinList::const_iterator& BinList::const_iterator::operator++() {
    if (node_->right != nullptr) {
        node_ = node_->right;
        while (node_->left != nullptr) {
            node_ = node_->left;
        }
        return *this;
    }
    while (node_->parent != nullptr && node_->parent->right == node_) {
        node_ = node_->parent;
    }
    node_ = node_->parent;
    return *this;
}

BinList::BinList() = default;

BinList::~BinList() {
    clear();
}

BinList::BinList(const BinList& other) : BinList() {
    for (const BinView bin : other) {
        insertBefore(end(), bin);
    }
}

BinList& BinList::operator=(const BinList& other) {
    if (this != &other) {
        BinList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

BinList::BinList(BinList&& other) noexcept
    : root_(std::exchange(other.root_, nullptr)), names_(std::exchange(other.names_, {})),
      values_(std::exchange(other.values_, {})),
      valuesBuilt_(std::exchange(other.valuesBuilt_, false)), random_(other.random_),
      blocks_(std::exchange(other.blocks_, {})), blockRoom_(std::exchange(other.blockRoom_, 0)),
      spare_(std::exchange(other.spare_, nullptr)),
      textBlocks_(std::exchange(other.textBlocks_, {})),
      textRoom_(std::exchange(other.textRoom_, 0)), heapTexts_(std::exchange(other.heapTexts_, 0)) {
}

BinList& BinList::operator=(BinList&& other) noexcept {
    if (this != &other) {
        clear();
        root_ = std::exchange(other.root_, nullptr);
        names_ = std::exchange(other.names_, {});
        values_ = std::exchange(other.values_, {});
        valuesBuilt_ = std::exchange(other.valuesBuilt_, false);
        random_ = other.random_;
        blocks_ = std::exchange(other.blocks_, {});
        blockRoom_ = std::exchange(other.blockRoom_, 0);
        spare_ = std::exchange(other.spare_, nullptr);
        textBlocks_ = std::exchange(other.textBlocks_, {});
        textRoom_ = std::exchange(other.textRoom_, 0);
        heapTexts_ = std::exchange(other.heapTexts_, 0);
    }
    return *this;
}

std::size_t BinList::sizeOf(const Node* node) noexcept {
    return node == nullptr ? 0 : node->size;
}

std::size_t BinList::count() const noexcept {
    return sizeOf(root_);
}

std::size_t BinList::positionOf(const Node* node) {
    std::size_t position = sizeOf(node->left) + 1;
    for (; node->parent != nullptr; node = node->parent) {
        if (node->parent->right == node) {
            position += sizeOf(node->parent->left) + 1;
        }
    }
    return position;
}

BinList::Node* BinList::nodeAt(std::size_t position) const {
    Node* node = root_;
    while (node != nullptr) {
        const std::size_t leftSize = sizeOf(node->left);
        if (position <= leftSize) {
            node = node->left;
        } else if (position == leftSize + 1) {
            return node;
        } else {
            position -= leftSize + 1;
            node = node->right;
        }
    }
    return nullptr;
}

BinList::Node* BinList::checkedNodeAt(std::size_t position, const char* failure) const {
    Node* node = position == 0 ? nullptr : nodeAt(position);
    if (node == nullptr) {
        throw std::out_of_range(failure);
    }
    return node;
}

BinView BinList::at(std::size_t position) const {
    return checkedNodeAt(position, "BinList::at: no such position")->view();
}

BinList::const_iterator BinList::begin() const {
    const Node* node = root_;
    while (node != nullptr && node->left != nullptr) {
        node = node->left;
    }
    return const_iterator(node);
}

BinList::const_iterator BinList::iteratorAt(std::size_t position) const {
    return const_iterator(position == 0 ? nullptr : nodeAt(position));
}

void BinList::setTexts(Node* node, TextView name, ValueView value) {
    char16_t* texts = keepTexts(name, value, false);
    dropTexts(node);
    node->texts = texts;
    node->heapTexts = true;
    ++heapTexts_;
}

void BinList::setValue(std::size_t position, ValueView value) {
    Node* node = checkedNodeAt(position, "BinList::at: no such position");
    unlink(node);
    setTexts(node, node->name(), value);
    link(node);
}

void BinList::setName(std::size_t position, TextView name) {
    Node* node = checkedNodeAt(position, "BinList::at: no such position");
    unlink(node);
    setTexts(node, name, node->value());
    node->renamed();
    link(node);
    pullToRoot(node);
}

// Recomputes a node's sums and extremes from its children.
void BinList::pull(Node* node) {
    node->size = static_cast<std::uint32_t>(1 + sizeOf(node->left) + sizeOf(node->right));
    node->wild = node->plain ? 0 : 1;
    node->maxOrder = node;
    node->minFold = node;
    node->maxFold = node;
    node->leftMaxOrderHead = node->left == nullptr ? 0 : node->left->maxOrderHead();
    for (const Node* child : {node->left, node->right}) {
        if (child == nullptr) {
            continue;
        }
        node->wild += child->wild;
        if (orderAbove(child->maxOrder, node->maxOrder)) {
            node->maxOrder = child->maxOrder;
        }
        if (foldOrder(child->minFold, node->minFold) < 0) {
            node->minFold = child->minFold;
        }
        if (foldOrder(child->maxFold, node->maxFold) > 0) {
            node->maxFold = child->maxFold;
        }
    }
}

void BinList::pullToRoot(Node* node) {
    for (; node != nullptr; node = node->parent) {
        pull(node);
    }
}

void BinList::rotateUp(Node* node) {
    Node* parent = node->parent;
    Node* grand = parent->parent;
    if (parent->left == node) {
        parent->left = node->right;
        if (node->right != nullptr) {
            node->right->parent = parent;
        }
        node->right = parent;
    } else {
        parent->right = node->left;
        if (node->left != nullptr) {
            node->left->parent = parent;
        }
        node->left = parent;
    }
    parent->parent = node;
    node->parent = grand;
    if (grand == nullptr) {
        root_ = node;
    } else if (grand->left == parent) {
        grand->left = node;
    } else {
        grand->right = node;
    }
    pull(parent);
    pull(node);
}

std::uint32_t BinList::nextPriority() {
    random_ ^= random_ << 13;
    random_ ^= random_ >> 7;
    random_ ^= random_ << 17;
    return static_cast<std::uint32_t>(random_ >> 32);
}

void BinList::insertBefore(std::size_t position, BinView bin) {
    if (position == 0 || position > count() + 1) {
        throw std::out_of_range("BinList::insertBefore: no such position");
    }
    insertBefore(iteratorAt(position), bin);
}

void BinList::insertBefore(const_iterator where, BinView bin) {
    Node* node = make(bin.NAME, bin.VALUE, false);
    link(node);
    // The new node becomes a leaf right before `where` (or after the last node).
    Node* at = const_cast<Node*>(where.node_);
    if (at == nullptr) {
        at = root_;
        while (at != nullptr && at->right != nullptr) {
            at = at->right;
        }
        if (at == nullptr) {
            root_ = node;
            return;
        }
        at->right = node;
    } else if (at->left == nullptr) {
        at->left = node;
    } else {
        at = at->left;
        while (at->right != nullptr) {
            at = at->right;
        }
        at->right = node;
    }
    node->parent = at;
    attach(node);
}

// Takes a new leaf into its ancestors' sums and extremes, then lifts it to its
// place by priority. An extreme that the new name does not beat stays the
// extreme of every enclosing subtree too, so the comparing stops early.
void BinList::attach(Node* node) {
    bool order = true;
    bool low = true;
    bool high = true;
    const Node* below = node;
    for (Node* above = node->parent; above != nullptr; below = above, above = above->parent) {
        ++above->size;
        above->wild += node->wild;
        if (above->left == below) {
            above->leftMaxOrderHead = below->maxOrderHead();
        }
        if (order) {
            order = orderAbove(node, above->maxOrder);
            if (order) {
                above->maxOrder = node;
            }
        }
        if (low) {
            low = foldOrder(node, above->minFold) < 0;
            if (low) {
                above->minFold = node;
            }
        }
        if (high) {
            high = foldOrder(node, above->maxFold) > 0;
            if (high) {
                above->maxFold = node;
            }
        }
    }
    while (node->parent != nullptr && node->priority > node->parent->priority) {
        rotateUp(node);
    }
}

void BinList::removeAt(std::size_t position) {
    Node* node = checkedNodeAt(position, "BinList::removeAt: no such position");
    unlink(node);
    while (node->left != nullptr && node->right != nullptr) {
        rotateUp(node->left->priority > node->right->priority ? node->left : node->right);
    }
    Node* child = node->left != nullptr ? node->left : node->right;
    Node* parent = node->parent;
    if (child != nullptr) {
        child->parent = parent;
    }
    if (parent == nullptr) {
        root_ = child;
    } else if (parent->left == node) {
        parent->left = child;
    } else {
        parent->right = child;
    }
    destroy(node);
    pullToRoot(parent);
}

void BinList::clear() {
    // Turning left children into right ones frees the tree without recursion.
    // The nodes themselves go with their blocks, so only texts of their own
    // call for the walk.
    static_assert(std::is_trivially_destructible_v<Node>, "nodes are dropped with their blocks");
    Node* node = heapTexts_ != 0 ? root_ : nullptr;
    while (node != nullptr) {
        if (node->left != nullptr) {
            Node* left = node->left;
            node->left = left->right;
            left->right = node;
            node = left;
        } else {
            Node* right = node->right;
            dropTexts(node);
            node->~Node();
            node = right;
        }
    }
    root_ = nullptr;
    heapTexts_ = 0;
    names_ = {};
    values_ = {};
    valuesBuilt_ = false;
    releaseBlocks();
}

void BinList::link(Node* node) {
    linkName(node);
    linkValue(node);
}

void BinList::unlink(Node* node) {
    unlinkName(node);
    unlinkValue(node);
}

BinList::const_iterator BinList::findOrderPlace(TextView name) const {
    if (name.empty() || root_ == nullptr) {
        return end();
    }
    // The head of the least key sequence that orders after the name: its keys
    // with the last one raised by one (orderKeyGreater looks at 998 at most).
    const std::size_t keys = std::min(name.size(), kOrderKeyLength);
    Head least = 0;
    for (std::size_t j = 0; j < std::min(keys, kHeadKeys); ++j) {
        const Head byte = headByte(orderKey(name[j]) + (j + 1 == keys ? 1 : 0));
        least |= byteAt(byte, j);
        if (byte == 255) {
            break;
        }
    }
    const auto after = [&](Head head, const Node* holder) {
        if (head != least) {
            return head > least;
        }
        return holder->name().empty() || orderKeyGreater(holder->name(), name);
    };
    if (!after(root_->maxOrderHead(), root_->maxOrder)) {
        return end();
    }
    const Node* node = root_;
    while (node != nullptr) {
        // The next node is one of the two children; asking for both now
        // overlaps their reads from memory with this node's comparisons.
        __builtin_prefetch(node->left);
        __builtin_prefetch(node->right);
        if (node->left != nullptr && after(node->leftMaxOrderHead, node->left->maxOrder)) {
            node = node->left;
        } else if (after(node->orderHead, node)) {
            return const_iterator(node);
        } else {
            node = node->right;
        }
    }
    return end();
}

namespace {

template <typename Node, typename Holds, typename Is>
std::size_t firstAfter(const Node* node, std::size_t before, std::size_t after, const Holds& holds,
                       const Is& is) {
    if (node == nullptr || before + node->size <= after || !holds(node)) {
        return 0;
    }
    if (const std::size_t found = firstAfter(node->left, before, after, holds, is)) {
        return found;
    }
    const std::size_t position = before + (node->left == nullptr ? 0 : node->left->size) + 1;
    if (position > after && is(node)) {
        return position;
    }
    return firstAfter(node->right, position, after, holds, is);
}

} // namespace

std::size_t BinList::findPrefix(TextView word, std::size_t after) const {
    if (after >= count()) {
        return 0;
    }
    if (word.empty()) {
        return after + 1;
    }
    // Every name that begins with the word has a head from `low` to `high`:
    // the word's own bytes, then anything where the word has ended.
    const Head low = binlist::foldHead(word);
    bool open = word.size() < kHeadKeys;
    for (std::size_t j = 0; j < std::min(word.size(), kHeadKeys); ++j) {
        open = open && (low & byteAt(255, j)) != byteAt(255, j);
    }
    Head high = low;
    for (std::size_t j = word.size(); open && j < kHeadKeys; ++j) {
        high |= byteAt(255, j);
    }
    return firstAfter(
        root_, 0, after,
        [&](const Node* subtree) {
            return subtree->maxFoldHead() >= low && subtree->minFoldHead() <= high &&
                   binlist::comparePrefix(subtree->maxFold->name(), word) >= 0 &&
                   binlist::comparePrefix(subtree->minFold->name(), word) <= 0;
        },
        [word](const Node* node) { return binlist::beginsWith(node->name(), word); });
}

std::size_t BinList::nextWildName(std::size_t after) const {
    return firstAfter(
        root_, 0, after, [](const Node* subtree) { return subtree->wild > 0; },
        [](const Node* node) { return !node->plain; });
}

} // namespace zorlo