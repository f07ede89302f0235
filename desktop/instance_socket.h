// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the single-instance channel's socket lives and how it is reached, in plain POSIX: a
// folder that only this user can write to, a socket that this user owns, and a peer that runs
// as this user. Used by single_instance.h.

#ifndef QIR_DESKTOP_INTERNALS
#error "desktop/instance_socket.h is private to its folder"
#endif

#include <QByteArray>
#include <optional>
#include <utility>
#include <vector>

#include "platform/file_descriptor.h"

namespace qir::instance {

// The user's runtime folder, or else a folder "qir-<uid>" of the user's own in the temp
// folder. A folder qualifies only when this user owns it and nobody else may write into it:
// another user's folder is never used, and nor is the temp folder itself.
class Folder {
  public:
    // Whether the folder in the temp folder may be made (and its mode put right) if need be.
    enum class Fallback { Create, UseExisting };
    // `runtimeFolder` is the user's runtime folder (may be empty), `temporaryFolder` the one
    // the folder of the user's own is made in when the runtime folder does not qualify.
    static std::optional<Folder> open(const QByteArray& runtimeFolder,
                                      const QByteArray& temporaryFolder, Fallback fallback);

    const QByteArray& path() const { return path_; }
    int descriptor() const { return descriptor_.get(); }

    // The socket address of `entry` in the folder; through /proc/self/fd when the folder's
    // path is too long for a socket address. Nothing when even that does not fit.
    std::optional<QByteArray> socketPath(const QByteArray& entry) const;

  private:
    Folder(QByteArray path, FileDescriptor descriptor)
        : path_(std::move(path)), descriptor_(std::move(descriptor)) {}

    QByteArray path_;
    FileDescriptor descriptor_;
};

// Holds the folder's lock while one start decides whether to listen or to hand over, so that
// of starts at the same moment exactly one listens. Gives up waiting after a few seconds.
class FolderLock {
  public:
    explicit FolderLock(const Folder& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int descriptor_ = -1;
    bool held_ = false;
};

// The names the socket may have, in the order they are tried: a later one only where an
// earlier one is blocked by something that cannot be removed (a folder with files in it).
std::vector<QByteArray> socketNames(const QByteArray& name);

enum class Entry {
    Missing,    // nothing there
    OwnSocket,  // a socket of this user's
    Removable,  // something else that may go: a link, a file, an empty folder, a foreign socket
    Blocking,   // something that cannot go
};
Entry examine(const Folder& folder, const QByteArray& entry);
bool remove(const Folder& folder, const QByteArray& entry);

enum class Peer {
    OwnInstance,  // a process of this user's took the connection
    Busy,         // one listens but takes no more connections now
    Nobody,       // nobody listens, or a process of another user
};
// Connects to `entry` without waiting and, when a process of this user took the connection,
// sends `request`; the connection itself is the activation request.
Peer connectTo(const Folder& folder, const QByteArray& entry, const QByteArray& request);

// A socket bound to `entry` and listening; an invalid descriptor when binding fails.
FileDescriptor bindAndListen(const Folder& folder, const QByteArray& entry);

// The user id of the process at the other end of a connected socket, if it can be told.
std::optional<unsigned> peerUser(int socket);

}  // namespace qir::instance
