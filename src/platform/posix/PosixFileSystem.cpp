#include "platform/posix/PosixFileSystem.hpp"

#include "platform/posix/HomeFolder.hpp"
#include "text/Failure.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorlo {

namespace {

Text pathText(const std::filesystem::path& path) {
    return fromUtf8(path.string());
}

[[noreturn]] void fail(const std::filesystem::path& file, int err) {
    throw Failure(fromUtf8(std::strerror(err)) + u": " + fromUtf8(file.filename().string()));
}

// Closes a descriptor on every path out of a scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, as the last step of a write: a close can report a failed write.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

void refuseOpenFolder(const std::filesystem::path& folder) {
    if (posix::othersCanWrite(folder)) {
        throw Failure(posix::othersCanWriteText(folder));
    }
}

// The folder a name lives in; "." for a bare name.
std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Creates the file with O_EXCL and O_NOFOLLOW, so that no file or link
// already under the name is ever written through; writes, sets the mode and
// syncs. Returns errno of a create that found the name taken, 0 on success;
// throws on any other failure, the half-made file removed, naming `reported`.
int writeNewFile(const std::filesystem::path& file, const std::string& bytes, mode_t mode,
                 const std::filesystem::path& reported) {
    Descriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        if (errno == EEXIST || errno == ELOOP) {
            return EEXIST;
        }
        fail(reported, errno);
    }
    std::size_t done = 0;
    int err = 0;
    while (done < bytes.size() && err == 0) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) {
            err = errno;
        } else if (n > 0) {
            done += static_cast<std::size_t>(n);
        }
    }
    // The mode is set whole: the umask narrowed the create's.
    if (err == 0 && ::fchmod(fd.get(), mode) != 0) {
        err = errno;
    }
    if (err == 0 && ::fsync(fd.get()) != 0) {
        err = errno;
    }
    if (fd.close() != 0 && err == 0) {
        err = errno;
    }
    if (err != 0) {
        ::unlink(file.c_str());
        fail(reported, err);
    }
    return 0;
}

// Makes a rename or a create in the folder last through a power loss.
void syncFolder(const std::filesystem::path& folder, const std::filesystem::path& file) {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // A file system that cannot sync a folder (EINVAL) keeps it as it can.
    if (fd.get() < 0 || (::fsync(fd.get()) != 0 && errno != EINVAL)) {
        fail(file, errno);
    }
}

} // namespace

namespace posix {

bool othersCanWrite(const std::filesystem::path& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        return false; // a missing folder shows up as the write's own failure
    }
    const uid_t me = ::geteuid();
    if (st.st_uid != me && st.st_uid != 0) {
        return true;
    }
    const bool open =
        (st.st_mode & S_IWOTH) != 0 || ((st.st_mode & S_IWGRP) != 0 && st.st_gid != ::getegid());
    const bool stickyAndOurs = (st.st_mode & S_ISVTX) != 0 && st.st_uid == me;
    return open && !stickyAndOurs;
}

Text othersCanWriteText(const std::filesystem::path& folder) {
    return u"Refused, other users can write to " + pathText(folder);
}

} // namespace posix

bool PosixFileSystem::folderExists(const Text& path) const {
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(posix::expandHome(toUtf8(path))),
                                         error);
}

void PosixFileSystem::replaceFile(const std::filesystem::path& file, const std::string& bytes) {
    // A link (a dotfiles set-up) is resolved once and its target replaced, so
    // that it stays a link; the target's folder is then the one to check.
    std::filesystem::path target = file;
    struct stat st {};
    if (::lstat(file.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::error_code ec;
        target = std::filesystem::weakly_canonical(file, ec);
        if (ec) {
            fail(file, ec.value());
        }
    }
    const auto folder = folderOf(target);
    refuseOpenFolder(folder);
    mode_t mode = 0600;
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        mode = st.st_mode & 07777;
    }
    // A taken name is someone else's doing (the names are not guessable):
    // another try gets another name, and a few failures end the save.
    std::filesystem::path tmp;
    int taken = EEXIST;
    for (int attempt = 0; attempt < 4 && taken != 0; ++attempt) {
        tmp = temporaryNameBeside(target);
        taken = writeNewFile(tmp, bytes, mode, file);
    }
    if (taken != 0) {
        fail(file, taken);
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail(file, err);
    }
    syncFolder(folder, file);
}

bool PosixFileSystem::createFile(const std::filesystem::path& file, const std::string& bytes) {
    const auto folder = folderOf(file);
    refuseOpenFolder(folder);
    if (writeNewFile(file, bytes, 0600, file) != 0) {
        return false;
    }
    syncFolder(folder, file);
    return true;
}

} // namespace zorlo
