// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The last-resort report of an error that escapes start-up before the event loop runs.

#ifndef QIR_APP_INTERNALS
#error "app/application_error.h is private to its folder"
#endif

#include <QString>
#include <exception>

namespace qir::app {

// "Exception %s in module %s at %p.\n%s%s": the error's kind, the program file, a code
// address, the message, and a full stop unless the message already ends with one.
QString applicationErrorText(const std::exception& error, const QString& module,
                             const void* address);

// Shows the task-modal "Application Error" box with that text.
void showApplicationError(const std::exception& error, const QString& module, const void* address);

}  // namespace qir::app
