// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session_bus.h"

#include <QDBusConnection>
#include <system_error>

namespace qir::app {

SessionBusConnecting::SessionBusConnecting() {
    try {
        // Qt keeps the connection for the whole process, whichever thread made it.
        connecting_ = std::thread([] { QDBusConnection::sessionBus(); });
    } catch (const std::system_error&) {
        // No thread to be had: the bridge connects when it is first asked, as it always did.
    }
}

SessionBusConnecting::~SessionBusConnecting() {
    if (connecting_.joinable()) {
        connecting_.join();
    }
}

}  // namespace qir::app
