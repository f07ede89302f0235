// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>

#include "desktop/instance_socket.h"

namespace qir {
namespace {

std::optional<instance::Folder> openFolder(const InstanceAddress& address,
                                           instance::Folder::Fallback fallback) {
    return instance::Folder::open(address.runtimeFolder, address.temporaryFolder, fallback);
}

}  // namespace

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

bool handOverToRunningInstance(const InstanceAddress& address) {
    const auto folder = openFolder(address, instance::Folder::Fallback::UseExisting);
    if (!folder) {
        return false;
    }
    for (const QByteArray& entry : instance::socketNames(address.name.toUtf8())) {
        switch (instance::examine(*folder, entry)) {
            case instance::Entry::Blocking:
                continue;  // the socket lies under the next name
            case instance::Entry::OwnSocket:
                return instance::connectTo(*folder, entry) == instance::Peer::OwnInstance;
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

InstanceClaim InstanceChannel::claim(const InstanceAddress& address) {
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
                if (instance::connectTo(*folder, entry) != instance::Peer::Nobody) {
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
        const auto user = instance::peerUser(static_cast<int>(connection->socketDescriptor()));
        connection->disconnectFromServer();
        connection->deleteLater();
        if (user && *user == ::geteuid()) {
            emit activationRequested();
        }
    }
}

}  // namespace qir
