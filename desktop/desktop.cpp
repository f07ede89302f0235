// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QUrl>

#include "desktop/document_opener.h"
#include "desktop/window_activation.h"

namespace qir {
namespace {

void errorBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    fitTitle(box);
    box.exec();
}

}  // namespace

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
    const QString name =
        url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : url.toString();
    const auto sayNoProgram = [name] {
        errorBox(QCoreApplication::translate("qir::SystemDesktop",
                                             "Cannot open %1: no program to show it was found. "
                                             "Install a web browser (and xdg-utils).")
                     .arg(name));
    };
    // xdg-open is watched, since it says "no browser" only by how it ends; Qt's own launch
    // (for a desktop without it) counts a detached start as success.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        runOpener(opener, {url.isLocalFile() ? url.toLocalFile() : url.toString()}, sayNoProgram);
    } else if (!QDesktopServices::openUrl(url)) {
        sayNoProgram();
    }
}

void SystemDesktop::showError(const QString& text) {
    errorBox(text);
}

}  // namespace qir
