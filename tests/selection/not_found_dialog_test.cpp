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

// Runs `answer` on the dialog once it is up and active, and gives the dialog's result;
// kStillOpen when the answer did not close it.
int askAndAnswer(std::function<void(NotFoundDialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<NotFoundDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        answer(*dialog);
        QTimer::singleShot(0, dialog, [dialog] { dialog->done(kStillOpen); });
    });
    return NotFoundDialog::ask(nullptr);
}

TEST(NotFoundDialog, ShowsTheMessageWithOneDefaultYesButton) {
    NotFoundDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(kNotFoundText.size(), 17u);
    auto* message = dialog.findChild<QLabel*>(QStringLiteral("message"));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), QString::fromUtf8("该字超出收字范围!"));
    const auto buttons = dialog.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons.front()->text(), QStringLiteral("&Yes"));
    EXPECT_TRUE(buttons.front()->isDefault());
}

TEST(NotFoundDialog, EscDoesNotCloseItAndEnterAnswersYes) {
    bool stillOpenAfterEsc = false;
    const int result = askAndAnswer([&](NotFoundDialog& dialog) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        stillOpenAfterEsc = dialog.isVisible();
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_TRUE(stillOpenAfterEsc);
    EXPECT_EQ(result, kDialogYes);
}

TEST(NotFoundDialog, TheButtonAndItsAccessKeyAnswerYes) {
    EXPECT_EQ(askAndAnswer([](NotFoundDialog& dialog) {
                  QTest::mouseClick(dialog.yesButton(), Qt::LeftButton);
              }),
              kDialogYes);
    // Y is its access key.
    NotFoundDialog dialog;
    EXPECT_EQ(dialog.yesButton()->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Y));
}

TEST(NotFoundDialog, TheCloseBoxGivesTwo) {
    EXPECT_EQ(askAndAnswer([](NotFoundDialog& dialog) { dialog.close(); }), kDialogClosed);
}

}  // namespace
}  // namespace qir::selection
