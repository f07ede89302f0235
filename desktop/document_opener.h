// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's opener (xdg-open) run on a document, watched until it ends. xdg-open reports
// "no program to show it" only through its exit status, long after a detached start has
// counted as success; watching it lets the program say so instead of doing nothing.
#ifndef QIR_DESKTOP_INTERNALS
#error "desktop/document_opener.h is private to desktop/"
#endif

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

namespace qir {

// Starts `opener` with `arguments` in a session of its own, its output discarded, and reaps it
// when it ends. `failed` is called when it cannot be started, or when it ends unsuccessfully
// within `patience`: an opener still running by then is showing the document (a browser
// started in the foreground), and whatever it ends with later is not a failure to open.
// Returns at once.
void runOpener(const QString& opener, const QStringList& arguments, std::function<void()> failed,
               std::chrono::milliseconds patience = std::chrono::seconds(10));

}  // namespace qir
