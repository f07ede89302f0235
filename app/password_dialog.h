// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog that asks the user for a table's password when the session holds none that fits.

#ifndef QIR_APP_INTERNALS
#error "app/password_dialog.h is private to its folder"
#endif

#include "store/session.h"

class QWidget;

namespace qir::app {

// A prompt for Session::setPasswordPrompt: a modal dialog over `parent` with a hidden entry;
// Cancel gives no password.
store::Session::PasswordPrompt passwordDialog(QWidget* parent);

}  // namespace qir::app
