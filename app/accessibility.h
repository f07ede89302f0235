// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What assistive technology is told about the application and the window's own controls:
// the application's name, the picture buttons as buttons with a press action, the web link
// as a link.

#ifndef QIR_APP_INTERNALS
#error "app/accessibility.h is private to its folder"
#endif

namespace qir::app {

// Installs the interfaces once; later calls do nothing.
void installAccessibility();

}  // namespace qir::app
