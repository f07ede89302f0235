// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One running instance per user: the running one listens on a local socket named from the
// window class name, in a folder only the user can write to; a later start that reaches it
// hands over and ends. Only a process of the same user is ever handed over to or listened to.
// The request carries the later start's activation tokens, so that a desktop which lets only
// a launched program take the focus (Wayland, X11 with startup notification) lets the running
// window come forward in its place.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

#include "platform/file_descriptor.h"

namespace qir {

namespace instance {
class Folder;
}

inline constexpr const char* kInstanceName = "MyTarsel";

// What the launcher gave a start to come forward with.
struct ActivationRequest {
    QByteArray activationToken;  // XDG_ACTIVATION_TOKEN, a Wayland compositor's
    QByteArray startupId;        // DESKTOP_STARTUP_ID, an X11 launcher's startup notification

    // This process's own, from its environment; a value no launcher would give is left out.
    static ActivationRequest fromEnvironment();
    // "XDG_ACTIVATION_TOKEN=...\nDESKTOP_STARTUP_ID=...\n\n", each line only when given.
    QByteArray encoded() const;
    // Whatever of that can be read; unknown lines are passed over.
    static ActivationRequest decoded(const QByteArray& bytes);

    bool operator==(const ActivationRequest&) const = default;
};

// Where the instances of one program meet: the name their socket is made from, the user's
// runtime folder it lies in, and the temp folder that holds a folder of the user's own for it
// when the runtime folder is missing or not the user's alone.
struct InstanceAddress {
    QString name;
    QByteArray runtimeFolder;
    QByteArray temporaryFolder;

    // `name` in this process's runtime folder ($XDG_RUNTIME_DIR) and temp folder.
    static InstanceAddress ofThisUser(const QString& name);
};

// The socket's path for this user when nothing blocks it; empty when the user has no folder
// of their own for it.
QString instanceSocketPath(const InstanceAddress& address);

// Asks a running instance to come forward with `request`. Plain POSIX, usable before the
// application object exists; waits for nothing but the connection itself and changes no
// file. True when an instance of this user took the request.
bool handOverToRunningInstance(
    const InstanceAddress& address,
    const ActivationRequest& request = ActivationRequest::fromEnvironment());

enum class InstanceClaim {
    Running,     // this instance listens: later starts find it
    HandedOver,  // another instance of this user runs and took the request; this start ends
    Alone,       // the user has no folder of their own for the socket: runs unfindable
};

// The running instance's end of the channel. Every accepted connection from the same user is
// one activation request, delivered when its tokens have arrived (or the connection closed).
class InstanceChannel : public QObject {
    Q_OBJECT
  public:
    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Decides, as one step against other starts at the same moment, between listening at
    // `address` and handing over to the instance that already does. A socket left by a crashed
    // instance, and anything else in the socket's place that may go (a link, a file, an empty
    // folder), is replaced.
    InstanceClaim claim(const InstanceAddress& address,
                        const ActivationRequest& request = ActivationRequest::fromEnvironment());

  signals:
    void activationRequested(const qir::ActivationRequest& request);

  private:
    void acceptPending();
    void receive(FileDescriptor connection);

    // Kept open while listening: the server's socket may be reached through it.
    std::unique_ptr<instance::Folder> folder_;
    QByteArray entry_;  // the socket's name in the folder
    FileDescriptor listening_;
};

}  // namespace qir
Q_DECLARE_METATYPE(qir::ActivationRequest)
