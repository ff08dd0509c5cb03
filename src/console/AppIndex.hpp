#pragma once

#include "platform/Applications.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorlo {

// The desktop's applications in name order, with every name they answer to
// (the display name and the other names) folded and sorted once per list, so
// that a launch's lookup and a completion step search instead of scanning.
// Positions count from 1 in name order; 0 is none.
class AppIndex {
  public:
    // Replaces the list. Applications without a name are dropped: nothing
    // could name them and completion would write back an empty word.
    void assign(std::vector<Application> apps);

    std::size_t count() const noexcept { return apps_.size(); }
    const Application& at(std::size_t position) const { return apps_.at(position - 1); }

    // The first application in name order that one of whose names, as the
    // text, matches `pattern` as a whole. Throws Failure for an invalid
    // pattern when there is an application to compare.
    std::size_t findNamed(TextView pattern) const;
    // The first application after `after` in name order one of whose names
    // begins with `word` by the prefix rule of listing and completion.
    // Throws Failure as findNamed does.
    std::size_t findBeginning(TextView word, std::size_t after = 0) const;

    // What the index holds in memory, in bytes (the list and the keys).
    std::size_t bytes() const noexcept;

  private:
    struct Key {
        Text folded;
        std::uint32_t position; // of its application, from 1
    };
    // The keys whose text begins with `word` (folded): one range of keys_.
    std::pair<std::size_t, std::size_t> keysBeginningWith(TextView word) const;

    std::vector<Application> apps_;
    std::vector<Key> keys_; // by folded text, then position
};

} // namespace zorlo
