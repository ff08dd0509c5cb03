#pragma once

#include "text/Text.hpp"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace zorlo {

// The words the console has recorded, kept across runs in the file "history".
// Every test takes the stored entry (or its beginning) as the text and the
// caller's argument as the pattern.
class History {
  public:
    static constexpr std::size_t kSavedEntries = 501;

    explicit History(std::filesystem::path file) : file_(std::move(file)) {}

    // Appends item unless some entry already matches it as a pattern.
    void addHistory(const Text& item);
    bool isItem(const Text& item) const;
    // The next entry at or after the search cursor that begins with `begin`, or
    // empty text; moves the cursor past it (never past the newest entry).
    Text getHistory(const Text& begin);
    void Reset() { cursor_ = 1; }
    // The file's bytes for a save: the newest 501 entries.
    std::string fileBytes() const;
    // Appends the lines of the file; quiet when it is missing or unreadable.
    void Load();

    std::size_t count() const noexcept { return entries_.size(); }
    const Text& entry(std::size_t position) const { return entries_.at(position - 1); }
    std::size_t cursor() const noexcept { return cursor_; }
    const std::filesystem::path& file() const noexcept { return file_; }

  private:
    // The entries whose beginning matches a word without wildcards are those
    // that begin with it without regard to case: one range of the entries
    // sorted by their folded text, found by binary search instead of a scan.
    struct Range {
        std::size_t first;
        std::size_t last; // one past
    };
    Range entriesBeginningWith(TextView word) const;

    std::filesystem::path file_;
    std::vector<Text> entries_;
    std::size_t cursor_ = 1;
    // Indexes into entries_, ordered by folded text; built when first needed
    // after a Load, kept in step by addHistory.
    mutable std::vector<std::uint32_t> sorted_;
    mutable bool sortedValid_ = true;
};

} // namespace zorlo
