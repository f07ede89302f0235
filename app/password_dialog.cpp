// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/password_dialog.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>

namespace qir::app {

store::Session::PasswordPrompt passwordDialog(QWidget* parent) {
    QPointer<QWidget> owner(parent);
    return [owner](const std::string& tableFile) -> std::optional<std::string> {
        QInputDialog dialog(owner.data());
        dialog.setWindowTitle(
            QCoreApplication::translate("qir::app::PasswordDialog", "Enter password"));
        dialog.setLabelText(
            QCoreApplication::translate("qir::app::PasswordDialog", "Password for table %1:")
                .arg(QString::fromLocal8Bit(tableFile.c_str())));
        dialog.setTextEchoMode(QLineEdit::Password);
        dialog.setInputMode(QInputDialog::TextInput);
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return dialog.textValue().toStdString();
    };
}

}  // namespace qir::app
