// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one boundary between an event handler and Qt: an error ends the event and is shown in
// the application's error box; a silent abort shows nothing. Nothing crosses into Qt's frames.

#include <exception>
#include <utility>

#include "desktop/desktop.h"
#include "platform/errors.h"

namespace qir {

void reportError(Desktop& desktop, const std::exception& error);

template <typename Handler>
void guarded(Desktop& desktop, Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const SilentAbort&) {
    } catch (const std::exception& error) {
        reportError(desktop, error);
    } catch (...) {
        reportError(desktop, std::runtime_error("Unknown error"));
    }
}

}  // namespace qir
