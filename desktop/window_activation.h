// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bringing the window forward on a later start's behalf, and where a window goes on the
// screen. A desktop that lets only a launched program take the focus accepts the launcher's
// token in its place: on Wayland the activation token, which Qt hands the compositor with the
// next activation; on X11 the startup notification, which is completed so that the launcher's
// busy cursor ends.

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "desktop/single_instance.h"

class QWidget;

namespace qir {

// Call before activating the window for `request`.
void useActivationToken(const ActivationRequest& request);

// The X11 startup-notification message that ends the launch `startupId`:
// "remove: ID=..." with the value quoted as the protocol asks.
QByteArray startupRemoveMessage(const QByteArray& startupId);

// Where a window of `size` goes: centred on `available` (the screen without its panels), but
// never beyond it; one larger than the area keeps its top left corner inside, so its banner
// and buttons stay reachable.
QPoint placeInside(const QRect& available, const QSize& size);

// Widens a dialog so that a window manager's title bar can show its whole title.
void fitTitle(QWidget& dialog);

}  // namespace qir
