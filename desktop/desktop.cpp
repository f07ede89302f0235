// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

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
    QDesktopServices::openUrl(url);
}

void SystemDesktop::showError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

}  // namespace qir
