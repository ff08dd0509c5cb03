#include "platform/posix/PosixSingleInstance.hpp"

#include "platform/wayland/ActivationToken.hpp"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorlo {

namespace {

const QByteArray kToggle = QByteArrayLiteral("toggle");
const QByteArray kTaken = QByteArrayLiteral("ok\n");
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

// An advisory lock on a file in the settings folder: -1 when another console
// holds it, else the descriptor that holds it (or -2 where the folder takes
// no lock file: a folder nobody can write in has no saves to clobber).
int lockSettingsFolder(const std::filesystem::path& settingsFolder) {
    const std::string file = (settingsFolder / ".zorlo.lock").string();
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

// The user on the other end of a connected local socket; nothing when unknown.
std::optional<uid_t> peerUser(qintptr descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) !=
        0) {
        return std::nullopt;
    }
    return credentials.uid;
}

void drop(QLocalSocket* socket) {
    socket->abort();
    socket->deleteLater();
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
    socketPath_ = QString::fromStdString(*folder) + QLatin1Char('/') + keyFor(settingsFolder);
    lock_ = std::make_unique<QLockFile>(socketPath_ + QStringLiteral(".lock"));
    // A lock is stale only when its owner is gone, however long a console runs.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        return;
    }
    folderLock_ = lockSettingsFolder(settingsFolder);
    if (folderLock_ == -1) {
        // A console that no hand-over here reaches: another HOME, runtime
        // folder or machine. Two would race each other's saves.
        lock_->unlock();
        refusal_.emplace("another console uses " + settingsFolder.string(), kFirstUnreachable);
        return;
    }
    first_ = true;
}

PosixSingleInstance::~PosixSingleInstance() {
    server_.close();
    if (first_) {
        lock_->unlock();
    }
    if (folderLock_ >= 0) {
        close(folderLock_);
    }
}

bool PosixSingleInstance::listen(std::function<void(const std::string& token)> onToggle) {
    onToggle_ = std::move(onToggle);
    // Holding the lock, any socket left under the name belongs to a dead console.
    QLocalServer::removeServer(socketPath_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            accept(socket);
        }
    });
    return server_.listen(socketPath_);
}

void PosixSingleInstance::accept(QLocalSocket* socket) {
    const auto user = peerUser(socket->socketDescriptor());
    if (!user || *user != geteuid()) {
        std::fprintf(stderr,
                     "zorlo: refused a start by user %ld: only this user's starts may show or "
                     "hide the console\n",
                     user ? static_cast<long>(*user) : -1L);
        drop(socket);
        return;
    }
    if (server_.findChildren<QLocalSocket*>(Qt::FindDirectChildrenOnly).size() > kMaxConnections) {
        drop(socket);
        return;
    }
    socket->setReadBufferSize(kMaxRequest);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
    QTimer::singleShot(kIdleMs, socket, [socket] { drop(socket); });
    serve(socket);
}

void PosixSingleInstance::serve(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() >= kMaxRequest) {
            drop(socket);
        }
        return;
    }
    // One line, "toggle" or "toggle TOKEN", answered once; the connection
    // then ends, whatever else the sender had in mind.
    const QByteArray line = socket->readLine(kMaxRequest + 1).chopped(1);
    const qsizetype blank = line.indexOf(' ');
    const QByteArray word = blank < 0 ? line : line.left(blank);
    if (word != kToggle) {
        drop(socket);
        return;
    }
    // The token is another process's word: one that is no plain token is
    // dropped, and the press still counts.
    std::string token = blank < 0 ? std::string() : line.mid(blank + 1).toStdString();
    if (!wayland::isAcceptableActivationToken(token)) {
        token.clear();
    }
    // Whatever else arrives before the connection is gone is not read.
    QObject::disconnect(socket, nullptr, this, nullptr);
    socket->write(kTaken);
    socket->disconnectFromServer();
    if (onToggle_) {
        onToggle_(token);
    }
}

bool PosixSingleInstance::toggleRunning(int waitMs, const std::string& token) const {
    constexpr int kRetryMs = 100;
    handOverProblem_.clear();
    if (refusal_ || first_) {
        return false;
    }
    // The first console may still be starting up and not listen yet.
    const QDeadlineTimer deadline(waitMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(kRetryMs * 5)) {
            const auto user = peerUser(socket.socketDescriptor());
            if (!user || *user != geteuid()) {
                handOverProblem_ = "the console's socket " + socketPath_.toStdString() +
                                   " belongs to user " +
                                   (user ? std::to_string(*user) : std::string("unknown")) +
                                   ", not to this one: not handing the start over";
                return false;
            }
            QByteArray request = kToggle;
            if (wayland::isAcceptableActivationToken(token)) {
                request += ' ' + QByteArray::fromStdString(token);
            }
            socket.write(request + '\n');
            if (socket.waitForBytesWritten(waitMs) &&
                socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
                return socket.readLine() == kTaken;
            }
            return false;
        }
        QThread::msleep(kRetryMs);
    }
    return false;
}

} // namespace zorlo
