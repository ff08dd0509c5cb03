#include "console/SettingsRead.hpp"

#include "store/FileIo.hpp"
#include "store/SettingsFile.hpp"
#include "store/StatusSink.hpp"
#include "text/Failure.hpp"

#include <functional>
#include <string_view>

namespace zorlo {

namespace {

class Reports : public StatusSink {
  public:
    explicit Reports(std::vector<Text>& kept) : kept_(kept) {}
    void stat(const Text& message) override { kept_.push_back(message); }

  private:
    std::vector<Text>& kept_;
};

} // namespace

std::size_t hashOfBytes(const std::string& bytes) {
    return std::hash<std::string_view>{}(bytes);
}

ListRead readListFile(const std::filesystem::path& file) {
    ListRead read;
    try {
        Reports reports(read.reports);
        const auto bytes = readFileBytes(file);
        if (!bytes) {
            throw Failure(u"File not found: " + fileNameText(file));
        }
        read.seen = hashOfBytes(*bytes);
        read.whole = readSettingsInto(decodeFileBytes(*bytes), read.list, reports);
    } catch (...) {
        read.failure = std::current_exception();
    }
    return read;
}

// Where no thread can be started, the read waits for the first load.
ListPreload::ListPreload(const std::filesystem::path& settingsFolder)
    : file_(settingsFolder / std::filesystem::path(Text(kListFile))),
      read_(std::async(std::launch::async | std::launch::deferred, readListFile, file_)) {}

bool ListPreload::holds(const std::filesystem::path& file) const {
    return read_.valid() && file == file_;
}

ListRead ListPreload::take() {
    return read_.get();
}

} // namespace zorlo
