// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skinned window's own look: its controls keep a light palette and one style of their own
// under any desktop theme, since the skin around them is light. Dialogs and menus, windows of
// their own, follow the desktop.

#ifndef QIR_APP_INTERNALS
#error "app/window_look.h is private to its folder"
#endif

class QPalette;
class QWidget;

namespace qir::app {

// The light palette the window's controls keep, every role set, so no application palette
// shows through.
QPalette windowPalette();

// Gives `window` and every control inside it (not those with a style of their own, and no
// window of their own) the light palette and the window's own style. Call once the controls
// exist.
void keepOwnLook(QWidget& window);

}  // namespace qir::app
