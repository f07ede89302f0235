// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/not_found_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "selection/character_selection.h"

namespace qir::selection {
namespace {

constexpr int kStillOpen = -1;

// Runs `answer` on the real dialog once it is up; kStillOpen when that did not close it.
int askAndAnswer(std::function<void(NotFoundDialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<NotFoundDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
        QTimer::singleShot(0, dialog, [dialog] { dialog->done(kStillOpen); });
    });
    return NotFoundDialog::ask(nullptr);
}

TEST(NotFoundDialog, ShowsTheMessageWithOneDefaultYesButton) {
    NotFoundDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("message"))->text(),
              QString::fromUtf8("该字超出收字范围!"));
    ASSERT_EQ(dialog.findChildren<QPushButton*>().size(), 1);
    EXPECT_EQ(dialog.yesButton()->text(), QStringLiteral("&Yes"));
    EXPECT_TRUE(dialog.yesButton()->isDefault());
}

TEST(NotFoundDialog, EscDoesNotCloseItEnterAndTheButtonAnswerYesTheCloseBoxTwo) {
    EXPECT_EQ(
        askAndAnswer([](NotFoundDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }),
        kStillOpen);
    EXPECT_EQ(
        askAndAnswer([](NotFoundDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); }),
        kDialogYes);
    EXPECT_EQ(askAndAnswer([](NotFoundDialog& dialog) {
                  QTest::mouseClick(dialog.yesButton(), Qt::LeftButton);
              }),
              kDialogYes);
    EXPECT_EQ(askAndAnswer([](NotFoundDialog& dialog) { dialog.close(); }), kDialogClosed);
}

}  // namespace
}  // namespace qir::selection
