// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "desktop/window_activation.h"

namespace qir {

void SystemDesktop::beep() {
    QApplication::beep();
}

void SystemDesktop::openDocument(const QString& target) {
    // A bare file name resolves against the working directory; anything with a scheme is a URL.
    const QUrl url =
        target.contains(QStringLiteral("://"))
            ? QUrl(target)
            : QUrl::fromLocalFile(QFileInfo(QDir::current(), target).absoluteFilePath());
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        return;
    }
    if (!QDesktopServices::openUrl(url)) {
        // No program to show it (no web browser, no xdg-open): said rather than nothing at all.
        const QString name =
            url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : url.toString();
        showError(QCoreApplication::translate("qir::SystemDesktop",
                                              "Cannot open %1: no program to show it was found. "
                                              "Install a web browser (and xdg-utils).")
                      .arg(name));
    }
}

void SystemDesktop::showError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    fitTitle(box);
    box.exec();
}

}  // namespace qir
