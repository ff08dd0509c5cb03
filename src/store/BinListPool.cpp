// BinList's node pool. Nodes come from blocks of the list's own: a load makes
// one node per pair, and taking each from the general heap costs more than the
// rest of the add. Invariant: every node slot of every block is exactly one of
// a live node of the tree, a spare (on the chain from spare_, its storage
// holding the next spare's address), or unused room at the end of the last
// block (blockRoom_ of them).

#include "store/BinListNode.hpp"

#include <new>

namespace zorlo {

namespace {
constexpr std::size_t kFirstBlock = 8;
constexpr std::size_t kLargestBlock = 4096;

std::size_t blockSize(std::size_t index) {
    return std::min(kFirstBlock << std::min<std::size_t>(index, 20), kLargestBlock);
}
} // namespace

BinList::Node* BinList::make(Bin bin) {
    const std::uint32_t rank = nextPriority();
    if (spare_ != nullptr) {
        Node* memory = spare_;
        spare_ = *std::launder(reinterpret_cast<Node**>(memory));
        return new (memory) Node(std::move(bin), rank);
    }
    if (blockRoom_ == 0) {
        const std::size_t size = blockSize(blocks_.size());
        blocks_.push_back(static_cast<Node*>(
            ::operator new (sizeof(Node) * size, std::align_val_t{alignof(Node)})));
        blockRoom_ = size;
    }
    Node* memory = blocks_.back() + (blockSize(blocks_.size() - 1) - blockRoom_);
    --blockRoom_;
    return new (memory) Node(std::move(bin), rank);
}

void BinList::destroy(Node* node) {
    node->~Node();
    // The storage then holds only the link to the next spare node.
    new (static_cast<void*>(node)) Node*(spare_);
    spare_ = node;
}

void BinList::releaseBlocks() {
    spare_ = nullptr;
    for (Node* block : blocks_) {
        ::operator delete (block, std::align_val_t{alignof(Node)});
    }
    blocks_.clear();
    blockRoom_ = 0;
}

} // namespace zorlo
