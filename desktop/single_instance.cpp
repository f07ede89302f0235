// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/single_instance.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
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

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel() {
    if (listening_.valid() && folder_) {
        // The last one out takes the socket's name away with it.
        ::unlinkat(folder_->descriptor(), entry_.constData(), 0);
    }
}

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
        // Plain POSIX, watched by the event loop: Qt's own local server would bring Qt
        // Network and its nine libraries into every start for this one socket.
        auto* accepting = new QSocketNotifier(listening.get(), QSocketNotifier::Read, this);
        connect(accepting, &QSocketNotifier::activated, this, &InstanceChannel::acceptPending);
        listening_ = std::move(listening);
        entry_ = entry;
        folder_ = std::make_unique<instance::Folder>(std::move(*folder));
        return InstanceClaim::Running;
    }
    return InstanceClaim::Alone;
}

void InstanceChannel::acceptPending() {
    for (;;) {
        FileDescriptor connection(
            ::accept4(listening_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!connection.valid()) {
            return;  // none left (or a connection that went before it was taken)
        }
        const auto user = instance::peerUser(connection.get());
        if (user && *user == ::geteuid()) {
            receive(std::move(connection));
        }
    }
}

void InstanceChannel::receive(FileDescriptor connection) {
    // The connection's state lives as long as its notifier, which the delivery deletes.
    auto* reading = new QSocketNotifier(connection.get(), QSocketNotifier::Read, this);
    struct Pending {
        FileDescriptor connection;
        QByteArray bytes;
        bool delivered = false;
    };
    auto pending = std::make_shared<Pending>(Pending{std::move(connection), {}, false});
    const auto deliver = [this, reading, pending] {
        if (pending->delivered) {
            return;
        }
        pending->delivered = true;
        reading->setEnabled(false);
        reading->deleteLater();
        pending->connection = FileDescriptor();
        emit activationRequested(ActivationRequest::decoded(pending->bytes));
    };
    const auto read = [pending, deliver] {
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(pending->connection.get(), buffer, sizeof buffer);
            if (got > 0) {
                pending->bytes.append(buffer, static_cast<qsizetype>(got));
                if (pending->bytes.size() > kLongestRequest) {
                    break;
                }
                continue;
            }
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                // More may come; the request is whole once it ends in an empty line.
                if (!pending->bytes.contains("\n\n")) {
                    return;
                }
            }
            break;  // the end of the connection, an error, or a whole request
        }
        deliver();
    };
    connect(reading, &QSocketNotifier::activated, this, read);
    QTimer::singleShot(kRequestPatienceMs, reading, deliver);
    read();
}

}  // namespace qir
