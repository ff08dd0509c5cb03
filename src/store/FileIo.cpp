#include "store/FileIo.hpp"

#include "text/Failure.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
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
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw Failure(describeFileError(path, "Permission denied or file unreadable"));
    }
    // In one piece where the size is known: a character at a time costs as
    // much as decoding the whole file.
    std::string bytes;
    std::error_code sizeUnknown;
    const auto size = std::filesystem::file_size(path, sizeUnknown);
    if (!sizeUnknown) {
        bytes.resize(static_cast<std::size_t>(size));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    // Whatever the size did not tell (a file that grew, a special file).
    if (!in.eof()) {
        in.clear(in.rdstate() & ~std::ios::failbit);
        bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (in.bad()) {
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
