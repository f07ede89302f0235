// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application_error.h"

#include <QMessageBox>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "platform/errors.h"

namespace qir::app {

QString applicationErrorText(const std::exception& error, const QString& module,
                             const void* address) {
    const auto* known = dynamic_cast<const Error*>(&error);
    const QString kind =
        known != nullptr ? QString::fromStdString(known->kind()) : QStringLiteral("Exception");
    char pointer[2 * sizeof(void*) + 1];
    std::snprintf(pointer, sizeof pointer, "%0*" PRIXPTR, static_cast<int>(2 * sizeof(void*)),
                  reinterpret_cast<std::uintptr_t>(address));
    return QStringLiteral("Exception %1 in module %2 at %3.\n%4")
        .arg(kind, module, QString::fromLatin1(pointer),
             QString::fromStdString(endingInFullStop(error.what())));
}

void showApplicationError(const std::exception& error, const QString& module, const void* address) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"),
                    applicationErrorText(error, module, address), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace qir::app
