// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>
#include <memory>

#include "desktop/instance_socket.h"

namespace qir {
namespace {

std::optional<instance::Folder> openFolder(const InstanceAddress& address,
                                           instance::Folder::Fallback fallback) {
    return instance::Folder::open(address.runtimeFolder, address.temporaryFolder, fallback);
}

// A token longer than this, or holding a line break, is no launcher's.
constexpr qsizetype kLongestToken = 1024;
constexpr qsizetype kLongestRequest = 4 * kLongestToken;
// A start that connects and then hangs still gets the window forward.
constexpr int kRequestPatienceMs = 2000;
const QByteArray kTokenKey = QByteArrayLiteral("XDG_ACTIVATION_TOKEN=");
const QByteArray kStartupKey = QByteArrayLiteral("DESKTOP_STARTUP_ID=");

QByteArray plausibleToken(const QByteArray& value) {
    if (value.size() > kLongestToken || value.contains('\n') || value.contains('\0')) {
        return {};
    }
    return value;
}

}  // namespace

ActivationRequest ActivationRequest::fromEnvironment() {
    return {plausibleToken(qgetenv("XDG_ACTIVATION_TOKEN")),
            plausibleToken(qgetenv("DESKTOP_STARTUP_ID"))};
}

QByteArray ActivationRequest::encoded() const {
    QByteArray bytes;
    if (!activationToken.isEmpty()) {
        bytes += kTokenKey + activationToken + '\n';
    }
    if (!startupId.isEmpty()) {
        bytes += kStartupKey + startupId + '\n';
    }
    return bytes + '\n';
}

ActivationRequest ActivationRequest::decoded(const QByteArray& bytes) {
    ActivationRequest request;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.startsWith(kTokenKey)) {
            request.activationToken = plausibleToken(line.mid(kTokenKey.size()));
        } else if (line.startsWith(kStartupKey)) {
            request.startupId = plausibleToken(line.mid(kStartupKey.size()));
        }
    }
    return request;
}

InstanceAddress InstanceAddress::ofThisUser(const QString& name) {
    return {name, qgetenv("XDG_RUNTIME_DIR"), QFile::encodeName(QDir::tempPath())};
}

QString instanceSocketPath(const InstanceAddress& address) {
    const auto folder = openFolder(address, instance::Folder::Fallback::UseExisting);
    if (!folder) {
        return {};
    }
    return QFile::decodeName(folder->path() + '/' +
                             instance::socketNames(address.name.toUtf8()).front());
}

bool handOverToRunningInstance(const InstanceAddress& address, const ActivationRequest& request) {
    const auto folder = openFolder(address, instance::Folder::Fallback::UseExisting);
    if (!folder) {
        return false;
    }
    for (const QByteArray& entry : instance::socketNames(address.name.toUtf8())) {
        switch (instance::examine(*folder, entry)) {
            case instance::Entry::Blocking:
                continue;  // the socket lies under the next name
            case instance::Entry::OwnSocket:
                return instance::connectTo(*folder, entry, request.encoded()) ==
                       instance::Peer::OwnInstance;
            case instance::Entry::Missing:
            case instance::Entry::Removable:
                return false;
        }
    }
    return false;
}

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {
    connect(&server_, &QLocalServer::newConnection, this, &InstanceChannel::acceptPending);
}

InstanceChannel::~InstanceChannel() = default;

InstanceClaim InstanceChannel::claim(const InstanceAddress& address,
                                     const ActivationRequest& request) {
    auto folder = openFolder(address, instance::Folder::Fallback::Create);
    if (!folder) {
        return InstanceClaim::Alone;
    }
    const instance::FolderLock lock(*folder);
    for (const QByteArray& entry : instance::socketNames(address.name.toUtf8())) {
        switch (instance::examine(*folder, entry)) {
            case instance::Entry::Blocking:
                continue;
            case instance::Entry::OwnSocket:
                // A live instance answers at once: it listened before it let go of the lock.
                if (instance::connectTo(*folder, entry, request.encoded()) !=
                    instance::Peer::Nobody) {
                    return InstanceClaim::HandedOver;
                }
                // Nobody answers: a crashed instance left it behind.
                [[fallthrough]];
            case instance::Entry::Removable:
                if (!instance::remove(*folder, entry)) {
                    continue;
                }
                break;
            case instance::Entry::Missing:
                break;
        }
        FileDescriptor listening = instance::bindAndListen(*folder, entry);
        if (!listening.valid()) {
            continue;
        }
        if (!server_.listen(listening.get())) {
            instance::remove(*folder, entry);
            return InstanceClaim::Alone;
        }
        folder_ = std::make_unique<instance::Folder>(std::move(*folder));
        listening.release();
        return InstanceClaim::Running;
    }
    return InstanceClaim::Alone;
}

void InstanceChannel::acceptPending() {
    while (QLocalSocket* connection = server_.nextPendingConnection()) {
        connection->setParent(this);
        const auto user = instance::peerUser(static_cast<int>(connection->socketDescriptor()));
        if (user && *user == ::geteuid()) {
            receive(connection);
        } else {
            connection->disconnectFromServer();
            connection->deleteLater();
        }
    }
}

void InstanceChannel::receive(QLocalSocket* connection) {
    struct Pending {
        QByteArray bytes;
        bool delivered = false;
    };
    auto pending = std::make_shared<Pending>();
    const auto deliver = [this, connection, pending] {
        if (pending->delivered) {
            return;
        }
        pending->delivered = true;
        pending->bytes += connection->readAll();
        connection->disconnect(this);
        connection->abort();
        connection->deleteLater();
        emit activationRequested(ActivationRequest::decoded(pending->bytes));
    };
    const auto read = [connection, pending, deliver] {
        pending->bytes += connection->readAll();
        if (pending->bytes.contains("\n\n") || pending->bytes.size() > kLongestRequest) {
            deliver();
        }
    };
    connect(connection, &QLocalSocket::readyRead, this, read);
    connect(connection, &QLocalSocket::disconnected, this, deliver);
    QTimer::singleShot(kRequestPatienceMs, connection, deliver);
    read();
    if (!pending->delivered && connection->state() == QLocalSocket::UnconnectedState) {
        deliver();
    }
}

}  // namespace qir
