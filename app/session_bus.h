// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The session bus, connected on a thread of its own while the window is built. Qt's
// accessibility bridge connects to it the first time a view asks whether a screen reader
// listens, which the catalogue's tree does as it is made; the main thread then waited for the
// connection (a few milliseconds with a bus, 30 to 100 ms where libdbus has to start one),
// and now finds it made.
#ifndef QIR_APP_INTERNALS
#error "app/session_bus.h is private to app/"
#endif

#include <thread>

namespace qir::app {

class SessionBusConnecting {
  public:
    // Needs the application object; returns at once.
    SessionBusConnecting();
    // Waits for the connection to be made or to fail.
    ~SessionBusConnecting();
    SessionBusConnecting(const SessionBusConnecting&) = delete;
    SessionBusConnecting& operator=(const SessionBusConnecting&) = delete;

  private:
    std::thread connecting_;
};

}  // namespace qir::app
