#include "store/FileIo.hpp"

#include "text/Failure.hpp"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace zorlo {

namespace {

// A fresh name in the same folder for every write: a fixed name could be held
// by a leftover of a cut save, or by a link planted there. The random part
// makes the name unpredictable; the count keeps names of one run apart.
std::filesystem::path temporaryBeside(const std::filesystem::path& path) {
    static std::mt19937_64 random{std::random_device{}()};
    static std::uint64_t count = 0;
    std::ostringstream suffix;
    suffix << '.' << std::hex << random() << '-' << ++count << ".tmp";
    auto tmp = path;
    tmp += suffix.str();
    return tmp;
}

} // namespace

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
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw Failure(describeFileError(path, "Read error"));
    }
    return bytes;
}

void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
    const auto tmp = temporaryBeside(path);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) {
            const int err = errno;
            throw Failure(
                describeFileError(path, err != 0 ? std::strerror(err) : "Cannot create the file"));
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(tmp, ignored);
            throw Failure(describeFileError(path, "Write error"));
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        throw Failure(describeFileError(path, ec.message()));
    }
}

} // namespace zorlo
