#include "platform/fake/FakeFileSystem.hpp"

#include <filesystem>
#include <system_error>

namespace zorlo {

namespace {

Text windowsKey(const Text& path) {
    Text key;
    key.reserve(path.size());
    for (char16_t c : path) {
        key.push_back(c == u'/' ? u'\\' : foldCase(c));
    }
    while (key.size() > 1 && key.back() == u'\\') {
        key.pop_back();
    }
    return key;
}

} // namespace

void FakeFileSystem::addFolder(const Text& path) {
    folders_.push_back(windowsKey(path));
}

bool FakeFileSystem::folderExists(const Text& path) const {
    const Text key = windowsKey(path);
    for (const Text& folder : folders_) {
        if (folder == key) {
            return true;
        }
    }
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(path), error);
}

} // namespace zorlo
