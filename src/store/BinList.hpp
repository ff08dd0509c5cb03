#pragma once

#include "store/Bin.hpp"

#include <cstddef>
#include <vector>

namespace zorlo {

// An ordered list of pairs with positions from 1, as the commands count them.
// Lookups by name live in Store.hpp; this class only keeps the sequence.
class BinList {
  public:
    std::size_t count() const noexcept { return items_.size(); }
    bool empty() const noexcept { return items_.empty(); }

    Bin& at(std::size_t position) { return items_.at(position - 1); }
    const Bin& at(std::size_t position) const { return items_.at(position - 1); }

    void insertBefore(std::size_t position, Bin bin) {
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position - 1), std::move(bin));
    }
    void append(Bin bin) { items_.push_back(std::move(bin)); }
    void removeAt(std::size_t position) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position - 1));
    }
    void clear() { items_.clear(); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    std::vector<Bin> items_;
};

} // namespace zorlo
