// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work a start would otherwise do on the main thread when it first needs it, done on a thread
// of its own meanwhile. Each returned thread is joined when it is destroyed; where no thread
// can be had, none is returned and the work waits for its first use, as it always did.
#ifndef QIR_APP_INTERNALS
#error "app/work_ahead.h is private to app/"
#endif

#include <thread>

namespace qir::app {

// Fontconfig's configuration and font caches, while the application object and the display
// connection are made. Qt loads them the first time it needs a font (13 to 16 ms here) and
// then finds them loaded.
std::jthread loadFontConfigurationAhead();

// The session bus, while the window is built (needs the application object). Qt's
// accessibility bridge connects to it the first time a view asks whether a screen reader
// listens, which the catalogue's tree does as it is made; the main thread then waited for the
// connection (a few milliseconds with a bus, 30 to 100 ms where libdbus has to start one).
std::jthread connectSessionBusAhead();

}  // namespace qir::app
