#pragma once

#include "store/BinList.hpp"
#include "text/Text.hpp"

#include <exception>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <vector>

namespace zorlo {

// The settings files' names in the settings folder.
inline constexpr TextView kListFile = u"zorlo.list";
inline constexpr TextView kParamFile = u"zorlo.param";

// What the console remembers of a settings file's bytes, to tell at the next
// save whether something else has changed the file meanwhile.
std::size_t hashOfBytes(const std::string& bytes);

// A settings file read into a list of its own, with all that the console
// needs to take it over as if it had read the file itself: the reports made
// while the pairs went in, in order, and the failure that ended the read early
// (the pairs before it stay in the list).
struct ListRead {
    BinList list;
    std::vector<Text> reports;
    bool whole = true; // the list took every pair as its own
    std::optional<std::size_t> seen;
    std::exception_ptr failure;
};

// Never throws: a failure is kept in the result.
ListRead readListFile(const std::filesystem::path& file);

// The macro list read on a thread of its own. The program starts the read as
// soon as it knows that it is the console that runs, so that the read overlaps
// the toolkit building the window; the console's first load takes the result.
class ListPreload {
  public:
    explicit ListPreload(const std::filesystem::path& settingsFolder);
    // Waits for the read, if it was never taken.
    ~ListPreload() = default;
    ListPreload(const ListPreload&) = delete;
    ListPreload& operator=(const ListPreload&) = delete;

    // Whether the read of `file` is still there to take.
    bool holds(const std::filesystem::path& file) const;
    // Until the file is read: what changes it from then on is not in the read.
    void wait() const { read_.wait(); }
    // Waits for the read and hands it over, once.
    ListRead take();

  private:
    std::filesystem::path file_;
    std::future<ListRead> read_;
};

} // namespace zorlo
