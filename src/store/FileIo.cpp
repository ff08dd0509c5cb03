#include "store/FileIo.hpp"

#include "text/Failure.hpp"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>

namespace zorlo {

Text describeFileError(const std::filesystem::path& path, const std::string& what) {
    return fromUtf8(what) + u": " + fileNameText(path);
}

Text fileNameText(const std::filesystem::path& path) {
    const auto s = path.filename().u8string();
    return fromUtf8(std::string(s.begin(), s.end()));
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || status.type() == std::filesystem::file_type::not_found) {
        if (ec && ec != std::errc::no_such_file_or_directory) {
            throw Failure(describeFileError(path, ec.message()));
        }
        return std::nullopt;
    }
    if (std::filesystem::is_directory(status)) {
        throw Failure(describeFileError(path, "Path is a folder, not a file"));
    }
    // A C stream, not an ifstream: a file stream sets up the library's locales
    // on its first use, half a megabyte of pages that a start needs for
    // nothing else.
#ifdef _WIN32
    std::FILE* opened = _wfopen(path.c_str(), L"rb"); // names there are UTF-16
#else
    std::FILE* opened = std::fopen(path.c_str(), "rb");
#endif
    if (opened == nullptr) {
        throw Failure(describeFileError(path, "Permission denied or file unreadable"));
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(opened, &std::fclose);
    // In one piece where the size is known: a character at a time costs as
    // much as decoding the whole file.
    std::error_code sizeUnknown;
    const auto size = std::filesystem::file_size(path, sizeUnknown);
    std::string bytes(sizeUnknown ? 0 : static_cast<std::size_t>(size), '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in.get()));
    // Whatever the size did not tell (a file that grew, a special file).
    std::array<char, 4096> block{};
    while (!std::feof(in.get()) && !std::ferror(in.get())) {
        bytes.append(block.data(), std::fread(block.data(), 1, block.size(), in.get()));
    }
    if (std::ferror(in.get())) {
        throw Failure(describeFileError(path, "Read error"));
    }
    return bytes;
}

void writeFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        const int err = errno;
        throw Failure(
            describeFileError(path, err != 0 ? std::strerror(err) : "Cannot create the file"));
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        throw Failure(describeFileError(path, "Write error"));
    }
}

} // namespace zorlo
