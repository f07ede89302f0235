// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog that asks the user for a table's password when the session holds none that fits.

#include "store/session.h"

class QWidget;

namespace qir::app {

// A prompt for Session::setPasswordPrompt: a modal dialog over `parent` with a hidden entry;
// Cancel gives no password.
store::Session::PasswordPrompt passwordDialog(QWidget* parent);

}  // namespace qir::app
