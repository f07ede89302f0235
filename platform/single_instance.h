// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One running instance per user: the running one listens on a local socket named from the
// window class name; a later start that reaches it hands over and ends.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

namespace qir {

inline constexpr const char* kInstanceName = "MyTarsel";

// The socket's path for this user, in a folder only the user can reach.
QString instanceSocketPath(const QString& name);

// Asks a running instance to come forward. Plain POSIX, usable before the application object
// exists; waits for nothing but the connection itself. True when an instance took the request.
bool handOverToRunningInstance(const QString& name);

// The running instance's end of the channel. Every accepted connection from the same user is
// one activation request; it carries no data.
class InstanceChannel : public QObject {
    Q_OBJECT
  public:
    explicit InstanceChannel(QObject* parent = nullptr);

    // Starts listening under `name`. A stale socket left by a crashed instance is replaced;
    // when another live instance already owns the name, this one stays unfindable and
    // returns false.
    bool listen(const QString& name);

  signals:
    void activationRequested();

  private:
    void acceptPending();

    QLocalServer server_;
};

}  // namespace qir
