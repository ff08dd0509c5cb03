#pragma once

#include "store/Bin.hpp"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

namespace zorlo {

// An ordered list of pairs with positions from 1, as the commands count them.
//
// The store's walks (Store.hpp) would compare every name for every lookup and
// every addition, which at 100,000 macros makes a load take minutes. So the
// list is kept as a balanced tree in list order, which inserts and removes
// without moving the other pairs, and each subtree knows enough about its
// names to answer the walks' questions in one descent, whatever order the
// list is in (a rename can leave it in any order):
// - the names that fold to the same text (a hash over the names without
//   wildcards), for lookups by a name without wildcards;
// - the greatest order key, for the place where addItem inserts;
// - the least and greatest folded name, for completion's prefix search;
// - how many names hold wildcards (or are no valid pattern at all), since a
//   stored name taken as a pattern may match texts that an index cannot see;
// - the values that fold to the same text, for the search before a macro is
//   offered, which an argument replaced by a macro's value always satisfies.
// Pairs are read through views: a NAME changed behind the list's back would
// leave the index stale, so changes go through setName/setValue. The list keeps
// each pair's texts in one block of its own (a loaded pair's in blocks shared
// by the load): two strings a pair took 64 bytes in the node and two heap
// blocks besides. A value whose characters all fit a byte is kept at a byte
// each, so values come out as ValueView rather than TextView.
class BinList {
  public:
    struct Node; // BinListNode.hpp, private to the BinList*.cpp files
    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = BinView;
        using difference_type = std::ptrdiff_t;
        using reference = BinView;
        // A view is made on each reading, so -> hands out a copy to point at.
        struct pointer {
            BinView view;
            const BinView* operator->() const { return &view; }
        };

        const_iterator() = default;
        reference operator*() const;
        pointer operator->() const { return pointer{**this}; }
        const_iterator& operator++();
        const_iterator operator++(int) {
            const_iterator was = *this;
            ++*this;
            return was;
        }
        bool operator==(const const_iterator& other) const { return node_ == other.node_; }

      private:
        friend class BinList;
        explicit const_iterator(const Node* node) : node_(node) {}
        const Node* node_ = nullptr;
    };

    BinList();
    ~BinList();
    BinList(const BinList& other);
    BinList& operator=(const BinList& other);
    BinList(BinList&& other) noexcept;
    BinList& operator=(BinList&& other) noexcept;

    std::size_t count() const noexcept;
    bool empty() const noexcept { return root_ == nullptr; }

    // Throws std::out_of_range outside 1..count. The view holds until the pair
    // changes or leaves the list.
    BinView at(std::size_t position) const;
    void setValue(std::size_t position, ValueView value);
    void setName(std::size_t position, TextView name);

    // position 1..count+1; count+1 appends.
    void insertBefore(std::size_t position, BinView bin);
    // Before the pair that `where` points at; at end() it appends.
    void insertBefore(const_iterator where, BinView bin);
    void append(BinView bin) { insertBefore(end(), bin); }
    void removeAt(std::size_t position);
    void clear();
    // Room in the name index for this many pairs in all, so that a load does
    // not build the index again at every doubling.
    void reserve(std::size_t pairs);

    // Fills an empty list with pairs that each go at its end, as a file in the
    // order the console saves it does, building the tree and its sums in one
    // pass when done rather than descending the tree for every pair.
    class Filler {
      public:
        // The list must be empty and stays so, to every reader, until finish.
        explicit Filler(BinList& list);
        ~Filler() { finish(); }
        Filler(const Filler&) = delete;
        Filler& operator=(const Filler&) = delete;

        std::size_t count() const noexcept { return nodes_.size(); }
        // Whether addItem would put a pair of this (lowercased) name at the end
        // as a pair of its own: the name is not empty, holds no wildcard, is
        // held by no pair yet, and no pair's name orders after it.
        bool goesAtEnd(TextView name);
        // Only for a name that goesAtEnd.
        void append(TextView name, TextView value);
        // Makes the list hold the pairs appended so far; later calls do nothing.
        void finish();

      private:
        // Puts the nodes appended since the last call into the name index.
        void linkAppended();

        BinList& list_;
        std::vector<Node*> nodes_;
        std::size_t linked_ = 0;         // nodes_ before this are in the name index
        const Node* maxOrder_ = nullptr; // the greatest name so far in compareOrder's order
        bool finished_ = false;
    };

    const_iterator begin() const;
    const_iterator end() const { return const_iterator(); }
    // The pair at a position, to walk on from there; end() past the last.
    const_iterator iteratorAt(std::size_t position) const;

    // ---- The index. Positions from 1; 0 means none. ----

    // The first position after `after` whose NAME holds no wildcard and equals
    // `name` letter for letter without regard to case (foldCase).
    std::size_t findSameName(TextView name, std::size_t after = 0) const;
    // The first pair whose NAME is empty or orders after `name` under the
    // order key (orderKeyGreater), for a non-empty name; end() when none.
    const_iterator findOrderPlace(TextView name) const;
    // The first position after `after` whose NAME begins with `word` without
    // regard to case (foldCase); every name begins with the empty word.
    std::size_t findPrefix(TextView word, std::size_t after) const;
    // The first position after `after` whose NAME holds ? * # or [.
    std::size_t nextWildName(std::size_t after) const;
    // Whether some VALUE equals `text` letter for letter without regard to case.
    bool holdsValue(TextView text) const;

  private:
    // Nodes by a hash of their folded name or value, the hashes in an array of
    // their own so that a probe reads four bytes a slot, and a node only when
    // hashes agree.
    class Table {
      public:
        void insert(std::uint32_t hash, Node* node);
        // Asks for the slot where a lookup of this hash starts to be read in.
        void prefetch(std::uint32_t hash) const;
        void erase(std::uint32_t hash, const Node* node);
        void reserve(std::size_t nodes);
        // Calls visit(node) for every node stored with this hash.
        template <typename Visit> void forEach(std::uint32_t hash, Visit&& visit) const;

      private:
        // 0 marks an empty slot, so a hash of 0 is kept as 1.
        static std::uint32_t stored(std::uint32_t hash) { return hash == 0 ? 1 : hash; }

        std::vector<std::uint32_t> hashes_;
        std::vector<Node*> nodes_;
        std::size_t used_ = 0;
    };

    static std::size_t sizeOf(const Node* node) noexcept;
    static std::size_t positionOf(const Node* node);
    Node* nodeAt(std::size_t position) const;
    // Throws std::out_of_range with the failure text outside 1..count.
    Node* checkedNodeAt(std::size_t position, const char* failure) const;
    void attach(Node* node);
    void rotateUp(Node* node);
    static void pull(Node* node);
    static void pullToRoot(Node* node);
    // Into and out of both indexes, around every change of a NAME or VALUE.
    void link(Node* node);
    void unlink(Node* node);
    void linkName(Node* node);
    void unlinkName(Node* node);
    void linkValue(Node* node) const; // only once the value index is built
    void unlinkValue(const Node* node) const;
    std::uint32_t nextPriority();
    // Nodes come from blocks of the list's own: a load makes one node per pair,
    // and taking each from the general heap costs more than the rest of the add.
    // So do a loaded pair's texts (shared: true), which then stay until clear;
    // other texts have a heap block each, freed with their pair.
    Node* make(TextView name, ValueView value, bool shared);
    char16_t* keepTexts(TextView name, ValueView value, bool shared);
    void dropTexts(Node* node);
    // Gives the node a block of its own with these texts, which may be its own.
    void setTexts(Node* node, TextView name, ValueView value);
    void destroy(Node* node);
    void releaseBlocks();

    Node* root_ = nullptr;
    Table names_; // only names without wildcards: only they are looked up by name
    // Built when first asked for: a load never needs it, a launch may.
    mutable Table values_;
    mutable bool valuesBuilt_ = false;
    std::uint64_t random_ = 0x9E3779B97F4A7C15ULL;
    std::vector<Node*> blocks_;
    std::size_t blockRoom_ = 0; // unused nodes at the end of the last block
    Node* spare_ = nullptr;     // storage of removed nodes, each holding the next one's address
    std::vector<std::unique_ptr<char16_t[]>> textBlocks_; // a load's texts
    std::size_t textRoom_ = 0; // unused characters at the end of the last text block
    // Nodes whose texts are a heap block of their own. Without any, clear has
    // no walk of the tree to make: a loaded list goes with its blocks.
    std::size_t heapTexts_ = 0;
};

} // namespace zorlo
