#include "platform/fake/FakeFileSystem.hpp"

#include "text/Failure.hpp"

#include <filesystem>
#include <fstream>
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

[[noreturn]] void fail(const std::filesystem::path& file, const std::string& what) {
    const auto name = file.filename().u8string();
    throw Failure(fromUtf8(what) + u": " + fromUtf8(std::string(name.begin(), name.end())));
}

// reported: the name a failure names (the file being replaced, not its temporary copy).
void writeBytes(const std::filesystem::path& file, const std::string& bytes,
                const std::filesystem::path& reported) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        out.close();
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        fail(reported, "Cannot write the file");
    }
}

} // namespace

void FakeFileSystem::replaceFile(const std::filesystem::path& file, const std::string& bytes) {
    if (writeThrough_ != nullptr) {
        writeThrough_->replaceFile(file, bytes);
        return;
    }
    const auto tmp = temporaryNameBeside(file);
    writeBytes(tmp, bytes, file);
    std::error_code ec;
    std::filesystem::rename(tmp, file, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        fail(file, ec.message());
    }
}

bool FakeFileSystem::createFile(const std::filesystem::path& file, const std::string& bytes) {
    if (writeThrough_ != nullptr) {
        return writeThrough_->createFile(file, bytes);
    }
    std::error_code ec;
    if (std::filesystem::symlink_status(file, ec).type() != std::filesystem::file_type::not_found) {
        return false;
    }
    writeBytes(file, bytes, file);
    return true;
}

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
