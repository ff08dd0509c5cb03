#include "platform/posix/PosixSingleInstance.hpp"

#include "platform/wayland/ActivationToken.hpp"

#include <QCryptographicHash>
#include <QDir>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace zorlo {

namespace {

const std::string kToggle = "toggle";
const std::string kTaken = "ok\n";
constexpr int kFirstUnreachable = 3;
// A later start says what it wants at once; a connection that idles holds a
// descriptor for nothing.
constexpr int kIdleMs = 1000;
// Later starts come one key press at a time; more at once are a flood.
constexpr int kMaxConnections = 16;

bool isPrivateFolder(const std::string& folder) {
    struct stat info {};
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           (info.st_mode & 07777) == 0700;
}

// The folder for the lock and the socket, which no other user may enter: were
// it shared, another user could answer for the console or take its socket's
// place. The session's runtime folder when it is as it should be, else one of
// our own in the temporary folder, whose predictable name another user may
// have taken first: that is refused, not used.
std::optional<std::string> handOverFolder(std::string& problem) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime == '/' && isPrivateFolder(runtime)) {
        return runtime;
    }
    const std::string folder =
        QDir::tempPath().toStdString() + "/zorlo-" + std::to_string(geteuid());
    if (mkdir(folder.c_str(), 0700) == 0) {
        // The umask may have taken more than the group's and others' rights.
        chmod(folder.c_str(), 0700);
    } else if (errno != EEXIST) {
        problem = "cannot make the folder " + folder +
                  " for the hand-over between starts: " + std::strerror(errno);
        return std::nullopt;
    }
    if (!isPrivateFolder(folder)) {
        problem = folder +
                  " is not a private folder of this user (owned by it, mode 0700, not a link); "
                  "remove it (or have it removed) and start again";
        return std::nullopt;
    }
    return folder;
}

// An advisory lock on a file: -1 when another process holds it, -2 when the
// file cannot be opened, else the descriptor that holds it. The system lets
// go of it when its holder ends, however it ends, so no lock is ever stale;
// and taking it writes nothing, so it costs no wait for the disk.
int lockFile(const std::string& file) {
    int fd = open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        fd = open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (fd < 0) {
        return -2;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return held ? -1 : -2;
    }
    return fd;
}

// The settings folder's lock: as lockFile, -2 where the folder takes no lock
// file (a folder nobody can write in has no saves to clobber).
int lockSettingsFolder(const std::filesystem::path& settingsFolder) {
    return lockFile((settingsFolder / ".zorlo.lock").string());
}

// The user on the other end of a connected local socket; nothing when unknown.
std::optional<uid_t> peerUser(int descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return std::nullopt;
    }
    return credentials.uid;
}

// The socket's address; nothing when the path does not fit in one.
std::optional<sockaddr_un> addressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

// Sends the bytes in one go; a peer that has gone raises no signal.
bool sendAll(int descriptor, const std::string& bytes) {
    return send(descriptor, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
}

} // namespace

QString PosixSingleInstance::keyFor(const std::filesystem::path& settingsFolder) {
    std::error_code error;
    auto folder = std::filesystem::weakly_canonical(settingsFolder, error);
    if (error) {
        folder = settingsFolder;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QString::fromStdU16String(folder.u16string()).toUtf8());
    return QStringLiteral("zorlo-") + QString::fromLatin1(hash.result().toHex().left(16));
}

PosixSingleInstance::PosixSingleInstance(const std::filesystem::path& settingsFolder) {
    std::string problem;
    const auto folder = handOverFolder(problem);
    if (!folder) {
        refusal_.emplace(problem, EXIT_FAILURE);
        return;
    }
    socketPath_ = *folder + '/' + keyFor(settingsFolder).toStdString();
    // Held by a running console, or not to be had: a later start asks the
    // socket, which answers only where a console listens.
    lock_ = lockFile(socketPath_ + ".lock");
    if (lock_ < 0) {
        return;
    }
    folderLock_ = lockSettingsFolder(settingsFolder);
    if (folderLock_ == -1) {
        // A console that no hand-over here reaches: another HOME, runtime
        // folder or machine. Two would race each other's saves.
        close(lock_);
        lock_ = -1;
        refusal_.emplace("another console uses " + settingsFolder.string(), kFirstUnreachable);
        return;
    }
    first_ = true;
}

// One later start's connection: read until its line is whole, then answered
// and closed; dropped when it says too much, too little or something else.
class PosixSingleInstance::Connection : public QObject {
  public:
    Connection(PosixSingleInstance& owner, int descriptor)
        : QObject(&owner), owner_(owner), descriptor_(descriptor),
          notifier_(descriptor, QSocketNotifier::Read, this) {
        ++owner_.openConnections_;
        connect(&notifier_, &QSocketNotifier::activated, this, [this] { owner_.read(this); });
        QTimer::singleShot(kIdleMs, this, [this] { drop(); });
    }
    ~Connection() override {
        if (descriptor_ >= 0) {
            close(descriptor_);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    int descriptor() const { return descriptor_; }
    std::string& received() { return received_; }

    void drop() {
        if (descriptor_ < 0) {
            return;
        }
        notifier_.setEnabled(false);
        close(descriptor_);
        descriptor_ = -1;
        --owner_.openConnections_;
        deleteLater();
    }

  private:
    PosixSingleInstance& owner_;
    int descriptor_;
    QSocketNotifier notifier_;
    std::string received_;
};

PosixSingleInstance::~PosixSingleInstance() {
    if (server_ >= 0) {
        serverNotifier_.reset();
        close(server_);
        // Before the lock goes: the next console's socket may take the name after it.
        unlink(socketPath_.c_str());
    }
    // The lock file stays: removing it could let two starts lock two files
    // of one name.
    if (lock_ >= 0) {
        close(lock_);
    }
    if (folderLock_ >= 0) {
        close(folderLock_);
    }
}

bool PosixSingleInstance::listen(std::function<void(const std::string& token)> onToggle) {
    onToggle_ = std::move(onToggle);
    const auto address = addressOf(socketPath_);
    if (!address) {
        return false;
    }
    server_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (server_ < 0) {
        return false;
    }
    // Holding the lock, any socket left under the name belongs to a dead console.
    unlink(socketPath_.c_str());
    if (bind(server_, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        chmod(socketPath_.c_str(), 0600) != 0 || ::listen(server_, kMaxConnections) != 0) {
        close(server_);
        server_ = -1;
        return false;
    }
    serverNotifier_ = std::make_unique<QSocketNotifier>(server_, QSocketNotifier::Read);
    connect(serverNotifier_.get(), &QSocketNotifier::activated, this, [this] { acceptAll(); });
    return true;
}

void PosixSingleInstance::acceptAll() {
    for (;;) {
        const int descriptor = accept4(server_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (descriptor < 0) {
            return;
        }
        const auto user = peerUser(descriptor);
        if (!user || *user != geteuid()) {
            std::fprintf(stderr,
                         "zorlo: refused a start by user %ld: only this user's starts may show "
                         "or hide the console\n",
                         user ? static_cast<long>(*user) : -1L);
            close(descriptor);
        } else if (openConnections_ >= kMaxConnections) {
            close(descriptor);
        } else {
            new Connection(*this, descriptor);
        }
    }
}

void PosixSingleInstance::read(Connection* connection) {
    std::string& received = connection->received();
    char bytes[kMaxRequest];
    const ssize_t count = ::read(connection->descriptor(), bytes, kMaxRequest - received.size());
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
        return;
    }
    if (count <= 0) {
        connection->drop();
        return;
    }
    received.append(bytes, static_cast<std::size_t>(count));
    const auto end = received.find('\n');
    if (end == std::string::npos) {
        if (received.size() >= kMaxRequest) {
            connection->drop();
        }
        return;
    }
    // One line, "toggle" or "toggle TOKEN", answered once; the connection
    // then ends, whatever else the sender had in mind.
    const std::string line = received.substr(0, end);
    const auto blank = line.find(' ');
    if (line.substr(0, blank) != kToggle) {
        connection->drop();
        return;
    }
    // The token is another process's word: one that is no plain token is
    // dropped, and the press still counts.
    std::string token = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    if (!wayland::isAcceptableActivationToken(token)) {
        token.clear();
    }
    sendAll(connection->descriptor(), kTaken);
    connection->drop();
    if (onToggle_) {
        onToggle_(token);
    }
}

bool PosixSingleInstance::toggleRunning(int waitMs, const std::string& token) const {
    using Clock = std::chrono::steady_clock;
    constexpr auto kRetry = std::chrono::milliseconds(100);
    constexpr auto kConnectAtMost = std::chrono::milliseconds(500);
    handOverProblem_.clear();
    const auto address = addressOf(socketPath_);
    if (refusal_ || first_ || !address) {
        return false;
    }
    std::string request = kToggle;
    if (wayland::isAcceptableActivationToken(token)) {
        request += ' ' + token;
    }
    request += '\n';
    // The first console may still be starting up and not listen yet.
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    const auto remaining = [deadline] {
        return std::max(
            std::chrono::milliseconds(0),
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
    };
    while (Clock::now() < deadline) {
        const int descriptor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (descriptor < 0) {
            return false;
        }
        // A console whose queue of connections is full makes connect wait:
        // no longer than this, nor past the deadline (a zero limit is none).
        const auto wait = std::clamp(remaining(), std::chrono::milliseconds(1), kConnectAtMost);
        const timeval limit{static_cast<time_t>(wait.count() / 1000),
                            static_cast<suseconds_t>(wait.count() % 1000 * 1000)};
        setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) !=
            0) {
            close(descriptor);
            std::this_thread::sleep_for(std::min(kRetry, remaining()));
            continue;
        }
        const auto user = peerUser(descriptor);
        if (!user || *user != geteuid()) {
            close(descriptor);
            handOverProblem_ = "the console's socket " + socketPath_ + " belongs to user " +
                               (user ? std::to_string(*user) : std::string("unknown")) +
                               ", not to this one: not handing the start over";
            return false;
        }
        // The answer is one short line; the console closes after it.
        std::string answer;
        const bool sent = sendAll(descriptor, request);
        while (sent && answer.find('\n') == std::string::npos && answer.size() < kTaken.size()) {
            pollfd watch{descriptor, POLLIN, 0};
            char bytes[8];
            ssize_t count = 0;
            if (poll(&watch, 1, static_cast<int>(remaining().count())) <= 0 ||
                (count = ::read(descriptor, bytes, sizeof bytes)) <= 0) {
                break;
            }
            answer.append(bytes, static_cast<std::size_t>(count));
        }
        close(descriptor);
        return answer == kTaken;
    }
    return false;
}

} // namespace zorlo
