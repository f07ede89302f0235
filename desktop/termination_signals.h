// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A request from the session to end (SIGTERM at logout or shutdown, SIGHUP when the terminal
// goes, SIGINT from Ctrl+C) ends the event loops as a normal exit does, so that every table,
// the player and the instance channel are closed in order instead of being cut off.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace qir {

class QuitOnTerminationSignals : public QObject {
    Q_OBJECT
  public:
    // Takes over the three signals for the object's lifetime; one such object at a time.
    // Needs a QCoreApplication.
    explicit QuitOnTerminationSignals(QObject* parent = nullptr);
    ~QuitOnTerminationSignals() override;

  private:
    void readPending();

    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace qir
