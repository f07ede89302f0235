// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/instance_socket.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace qir::instance {
namespace {

constexpr int kExtraNames = 3;
constexpr auto kLockPatience = std::chrono::seconds(3);
constexpr auto kLockRetry = std::chrono::milliseconds(10);

// The folder at `path`, if this user owns it and nobody else may write into it. A folder of
// our own making may have its mode put right; the user's runtime folder is left as it is.
std::optional<FileDescriptor> openOwnFolder(const QByteArray& path, bool ourOwnMaking,
                                            bool mayRepair) {
    if (!path.startsWith('/')) {
        return std::nullopt;
    }
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (ourOwnMaking ? O_NOFOLLOW : 0);
    FileDescriptor folder(::open(path.constData(), flags));
    struct stat status {};
    if (!folder.valid() || ::fstat(folder.get(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid()) {
        return std::nullopt;
    }
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        if (!ourOwnMaking || !mayRepair || ::fchmod(folder.get(), 0700) != 0) {
            return std::nullopt;
        }
    }
    return folder;
}

bool isEmptyFolder(int parent, const QByteArray& entry) {
    const int fd = ::openat(parent, entry.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    DIR* listing = ::fdopendir(fd);
    if (listing == nullptr) {
        ::close(fd);
        return false;
    }
    bool empty = true;
    while (const dirent* item = ::readdir(listing)) {
        if (std::strcmp(item->d_name, ".") != 0 && std::strcmp(item->d_name, "..") != 0) {
            empty = false;
            break;
        }
    }
    ::closedir(listing);
    return empty;
}

std::optional<sockaddr_un> addressOf(const Folder& folder, const QByteArray& entry) {
    const std::optional<QByteArray> path = folder.socketPath(entry);
    if (!path) {
        return std::nullopt;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path->constData(), static_cast<std::size_t>(path->size()));
    return address;
}

FileDescriptor localSocket() {
    return FileDescriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

}  // namespace

std::optional<Folder> Folder::open(const QByteArray& runtimeFolder,
                                   const QByteArray& temporaryFolder, Fallback fallback) {
    if (!runtimeFolder.isEmpty()) {
        if (auto folder = openOwnFolder(runtimeFolder, false, false)) {
            return Folder(runtimeFolder, std::move(*folder));
        }
    }
    const QByteArray own = temporaryFolder + "/qir-" + QByteArray::number(::geteuid());
    const bool create = fallback == Fallback::Create;
    if (create) {
        ::mkdir(own.constData(), 0700);
    }
    if (auto folder = openOwnFolder(own, true, create)) {
        return Folder(own, std::move(*folder));
    }
    return std::nullopt;
}

std::optional<QByteArray> Folder::socketPath(const QByteArray& entry) const {
    constexpr auto kLimit = sizeof(sockaddr_un::sun_path);
    QByteArray path = path_ + '/' + entry;
    if (static_cast<std::size_t>(path.size()) >= kLimit) {
        path = "/proc/self/fd/" + QByteArray::number(descriptor()) + '/' + entry;
    }
    if (static_cast<std::size_t>(path.size()) >= kLimit) {
        return std::nullopt;
    }
    return path;
}

FolderLock::FolderLock(const Folder& folder) : descriptor_(folder.descriptor()) {
    const auto giveUp = std::chrono::steady_clock::now() + kLockPatience;
    while (!(held_ = ::flock(descriptor_, LOCK_EX | LOCK_NB) == 0)) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            return;  // a start that hangs must not stop every later one
        }
        std::this_thread::sleep_for(kLockRetry);
    }
}

FolderLock::~FolderLock() {
    if (held_) {
        ::flock(descriptor_, LOCK_UN);
    }
}

std::vector<QByteArray> socketNames(const QByteArray& name) {
    const QByteArray base = name + '-' + QByteArray::number(::geteuid());
    std::vector<QByteArray> names{base + ".socket"};
    for (int extra = 2; extra < 2 + kExtraNames; ++extra) {
        names.push_back(base + '-' + QByteArray::number(extra) + ".socket");
    }
    return names;
}

Entry examine(const Folder& folder, const QByteArray& entry) {
    struct stat status {};
    if (::fstatat(folder.descriptor(), entry.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT ? Entry::Missing : Entry::Blocking;
    }
    if (S_ISSOCK(status.st_mode) && status.st_uid == ::geteuid()) {
        return Entry::OwnSocket;
    }
    if (S_ISDIR(status.st_mode)) {
        return isEmptyFolder(folder.descriptor(), entry) ? Entry::Removable : Entry::Blocking;
    }
    return Entry::Removable;
}

bool remove(const Folder& folder, const QByteArray& entry) {
    struct stat status {};
    if (::fstatat(folder.descriptor(), entry.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT;
    }
    const int flags = S_ISDIR(status.st_mode) ? AT_REMOVEDIR : 0;
    return ::unlinkat(folder.descriptor(), entry.constData(), flags) == 0;
}

Peer connectTo(const Folder& folder, const QByteArray& entry, const QByteArray& request) {
    const std::optional<sockaddr_un> address = addressOf(folder, entry);
    const FileDescriptor socket = localSocket();
    if (!address || !socket.valid()) {
        return Peer::Nobody;
    }
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) !=
        0) {
        return errno == EAGAIN ? Peer::Busy : Peer::Nobody;
    }
    // Only a process of our own user may take the request: anyone else listening there would
    // otherwise end every start of ours.
    const std::optional<unsigned> user = peerUser(socket.get());
    if (!user || *user != ::geteuid()) {
        return Peer::Nobody;
    }
    // A few hundred bytes fit the socket's buffer at once; what does not is not waited for.
    const ssize_t written = ::send(socket.get(), request.constData(),
                                   static_cast<std::size_t>(request.size()), MSG_NOSIGNAL);
    static_cast<void>(written);
    return Peer::OwnInstance;
}

FileDescriptor bindAndListen(const Folder& folder, const QByteArray& entry) {
    const std::optional<sockaddr_un> address = addressOf(folder, entry);
    FileDescriptor socket = localSocket();
    if (!address || !socket.valid() ||
        ::bind(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        return FileDescriptor();
    }
    if (::listen(socket.get(), SOMAXCONN) != 0) {
        ::unlinkat(folder.descriptor(), entry.constData(), 0);
        return FileDescriptor();
    }
    return socket;
}

std::optional<unsigned> peerUser(int socket) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return std::nullopt;
    }
    return credentials.uid;
}

}  // namespace qir::instance
