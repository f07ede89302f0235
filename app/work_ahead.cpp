// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/work_ahead.h"

#include <dlfcn.h>

#include <QDBusConnection>
#include <system_error>
#include <utility>

namespace qir::app {
namespace {

template <typename Work>
std::jthread startAhead(Work&& work) {
    try {
        return std::jthread(std::forward<Work>(work));
    } catch (const std::system_error&) {
        return {};
    }
}

}  // namespace

std::jthread loadFontConfigurationAhead() {
    // Looked up rather than linked: it is Qt's dependency, already loaded, and a Qt without it
    // simply has nothing to load ahead. Fontconfig sets up its configuration once, whichever
    // thread comes first.
    using Init = int (*)();
    const auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit"));
    if (init == nullptr) {
        return {};
    }
    return startAhead(init);
}

std::jthread connectSessionBusAhead() {
    // Qt keeps the connection for the whole process, whichever thread made it.
    return startAhead([] { QDBusConnection::sessionBus(); });
}

}  // namespace qir::app
