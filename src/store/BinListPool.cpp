// BinList's node pool and its pairs' texts. Nodes come from blocks of the
// list's own: a load makes one node per pair, and taking each from the general
// heap costs more than the rest of the add. Invariant: every node slot of every
// block is exactly one of a live node of the tree, a spare (on the chain from
// spare_, its storage holding the next spare's address), or unused room at the
// end of the last block (blockRoom_ of them). A node's texts are a heap block
// of its own (heapTexts), freed with it, or a piece of a text block, which
// stays until the list is cleared.

#include "store/BinListNode.hpp"

#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace zorlo {

namespace {
constexpr std::size_t kFirstBlock = 8;
constexpr std::size_t kLargestBlock = 4096;
// 128 KiB: a load of 100,000 pairs of paths and addresses takes about fifty.
constexpr std::size_t kTextBlock = std::size_t{64} * 1024;

std::size_t blockSize(std::size_t index) {
    return std::min(kFirstBlock << std::min<std::size_t>(index, 20), kLargestBlock);
}
} // namespace

char16_t* BinList::keepTexts(TextView name, ValueView value, bool shared) {
    if (name.size() > binlist::kLongestText || value.size() > binlist::kLongestText) {
        throw std::length_error("BinList: a name or value too long to keep");
    }
    const bool bytes = value.fitsBytes();
    const std::size_t size =
        binlist::kTextsHeader + name.size() + (bytes ? (value.size() + 1) / 2 : value.size());
    char16_t* texts = nullptr;
    if (!shared) {
        texts = new char16_t[size];
    } else if (size > kTextBlock) {
        // A block of its own; what was left of the last block goes unused.
        textBlocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(size));
        texts = textBlocks_.back().get();
        textRoom_ = 0;
    } else {
        if (textRoom_ < size) {
            textBlocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(kTextBlock));
            textRoom_ = kTextBlock;
        }
        texts = textBlocks_.back().get() + (kTextBlock - textRoom_);
        textRoom_ -= size;
    }
    const std::uint32_t sizes[] = {static_cast<std::uint32_t>(name.size()),
                                   static_cast<std::uint32_t>(value.size()) |
                                       (bytes ? binlist::kValueInBytes : 0)};
    std::memcpy(texts, sizes, sizeof(sizes));
    std::copy(name.begin(), name.end(), texts + binlist::kTextsHeader);
    char16_t* const valueAt = texts + binlist::kTextsHeader + name.size();
    if (bytes) {
        value.copyBytes(reinterpret_cast<unsigned char*>(valueAt));
    } else {
        value.copyTo(valueAt);
    }
    return texts;
}

void BinList::dropTexts(Node* node) {
    if (node->heapTexts) {
        delete[] node->texts;
        --heapTexts_;
    }
}

BinList::Node* BinList::make(TextView name, ValueView value, bool shared) {
    // Room for the node first: texts kept for a node that then finds no room
    // would be lost.
    if (spare_ == nullptr && blockRoom_ == 0) {
        const std::size_t size = blockSize(blocks_.size());
        blocks_.reserve(blocks_.size() + 1);
        blocks_.push_back(static_cast<Node*>(
            ::operator new (sizeof(Node) * size, std::align_val_t{alignof(Node)})));
        blockRoom_ = size;
    }
    char16_t* texts = keepTexts(name, value, shared);
    Node* memory = spare_;
    if (memory != nullptr) {
        spare_ = *std::launder(reinterpret_cast<Node**>(memory));
    } else {
        memory = blocks_.back() + (blockSize(blocks_.size() - 1) - blockRoom_);
        --blockRoom_;
    }
    heapTexts_ += shared ? 0 : 1;
    return new (memory) Node(texts, !shared, nextPriority());
}

void BinList::destroy(Node* node) {
    dropTexts(node);
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
    textBlocks_.clear();
    textRoom_ = 0;
}

} // namespace zorlo
