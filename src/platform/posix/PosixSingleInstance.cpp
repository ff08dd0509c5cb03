#include "platform/posix/PosixSingleInstance.hpp"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

namespace zorlo {

namespace {

const QByteArray kToggle = QByteArrayLiteral("toggle\n");
const QByteArray kTaken = QByteArrayLiteral("ok\n");

QString lockFolder() {
    // Asking QStandardPaths would warn on every start where the session sets no runtime folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() || !QDir(runtime).exists() ? QDir::tempPath() : runtime;
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
    hash.addData(QDir::homePath().toUtf8());
    return QStringLiteral("zorlo-") + QString::fromLatin1(hash.result().toHex().left(16));
}

PosixSingleInstance::PosixSingleInstance(const std::filesystem::path& settingsFolder)
    : key_(keyFor(settingsFolder)),
      lock_(lockFolder() + QLatin1Char('/') + key_ + QStringLiteral(".lock")) {
    // A lock is stale only when its owner is gone, however long a console runs.
    lock_.setStaleLockTime(0);
    first_ = lock_.tryLock(0);
}

PosixSingleInstance::~PosixSingleInstance() {
    server_.close();
    if (first_) {
        lock_.unlock();
    }
}

bool PosixSingleInstance::listen(std::function<void()> onToggle) {
    onToggle_ = std::move(onToggle);
    // Holding the lock, any socket left under the name belongs to a dead console.
    QLocalServer::removeServer(key_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
    return server_.listen(key_);
}

void PosixSingleInstance::serve(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        if (socket->readLine() == kToggle) {
            socket->write(kTaken);
            socket->flush();
            if (onToggle_) {
                onToggle_();
            }
        }
    }
}

bool PosixSingleInstance::toggleRunning(int waitMs) const {
    constexpr int kRetryMs = 100;
    // The first console may still be starting up and not listen yet.
    const QDeadlineTimer deadline(waitMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(key_);
        if (socket.waitForConnected(kRetryMs * 5)) {
            socket.write(kToggle);
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
