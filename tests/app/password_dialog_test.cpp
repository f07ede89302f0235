// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/password_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QTimer>

namespace qir::app {
namespace {

// Answers the dialog once it is up: with `text`, or by cancelling when there is none.
void answerDialog(std::optional<QString> text, QString* label) {
    QTimer::singleShot(0, [text, label] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        *label = dialog->labelText();
        EXPECT_EQ(dialog->textEchoMode(), QLineEdit::Password);
        if (text) {
            dialog->setTextValue(*text);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
}

TEST(PasswordDialogTest, GivesTheTypedPasswordOrNothingOnCancel) {
    const store::Session::PasswordPrompt prompt = passwordDialog(nullptr);
    QString label;
    answerDialog(QStringLiteral("qir610"), &label);
    EXPECT_EQ(prompt("donghua.db"), std::optional<std::string>("qir610"));
    EXPECT_TRUE(label.contains(QStringLiteral("donghua.db")));
    answerDialog(std::nullopt, &label);
    EXPECT_EQ(prompt("bishun.db"), std::nullopt);
}

}  // namespace
}  // namespace qir::app
