// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QLocalSocket>
#include <cstring>

namespace qir {
namespace {

// Owns a socket descriptor for the hand-over probe.
class Socket {
  public:
    Socket() : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

bool peerIsSameUser(qintptr descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) !=
        0) {
        return false;
    }
    return credentials.uid == ::getuid();
}

}  // namespace

QString instanceSocketPath(const QString& name) {
    // The user's runtime directory is private to the user; without one, a private folder of
    // our own in the temp directory serves.
    QString directory = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (directory.isEmpty() || !QDir(directory).exists()) {
        directory = QDir::temp().filePath(QStringLiteral("qir-%1").arg(::getuid()));
        const QByteArray path = directory.toLocal8Bit();
        ::mkdir(path.constData(), 0700);
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::getuid()) {
            directory = QDir::tempPath();
        }
    }
    return QDir(directory).filePath(QStringLiteral("%1-%2.socket").arg(name).arg(::getuid()));
}

bool handOverToRunningInstance(const QString& name) {
    const QByteArray path = instanceSocketPath(name).toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    Socket socket;
    if (socket.get() < 0) {
        return false;
    }
    return ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
           0;
}

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {
    // A plain bind, so a live socket makes listen fail instead of being replaced; only the same
    // user's connections are taken (see acceptPending).
    server_.setSocketOptions(QLocalServer::NoOptions);
    connect(&server_, &QLocalServer::newConnection, this, &InstanceChannel::acceptPending);
}

bool InstanceChannel::listen(const QString& name) {
    const QString path = instanceSocketPath(name);
    if (server_.listen(path)) {
        return true;
    }
    if (server_.serverError() != QAbstractSocket::AddressInUseError ||
        handOverToRunningInstance(name)) {
        return false;
    }
    // Nobody answers on the socket: a crashed instance left it behind.
    QLocalServer::removeServer(path);
    return server_.listen(path);
}

void InstanceChannel::acceptPending() {
    while (QLocalSocket* connection = server_.nextPendingConnection()) {
        const bool sameUser = peerIsSameUser(connection->socketDescriptor());
        connection->disconnectFromServer();
        connection->deleteLater();
        if (sameUser) {
            emit activationRequested();
        }
    }
}

}  // namespace qir
