// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window_activation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

namespace qir {
namespace {

TEST(PlaceInside, CentresAWindowThatFitsAndKeepsItOffThePanels) {
    // A 1024x768 screen with a 32-pixel panel at the top.
    EXPECT_EQ(placeInside(QRect(0, 32, 1024, 736), QSize(640, 480)), QPoint(192, 160));
    // 640x480 with the panel at the top: the window would be centred half under it.
    EXPECT_EQ(placeInside(QRect(0, 32, 640, 448), QSize(640, 480)), QPoint(0, 32));
    // The panel at the bottom: the top stays on the screen, the bottom goes under the panel.
    EXPECT_EQ(placeInside(QRect(0, 0, 640, 448), QSize(640, 480)), QPoint(0, 0));
    // A second screen to the right, with a panel on its left edge.
    EXPECT_EQ(placeInside(QRect(1064, 0, 600, 1080), QSize(640, 480)), QPoint(1064, 300));
}

TEST(StartupNotification, TheRemoveMessageQuotesTheId) {
    EXPECT_EQ(startupRemoveMessage("openbox-12-host_TIME999"),
              "remove: ID=\"openbox-12-host_TIME999\"");
    EXPECT_EQ(startupRemoveMessage("a \"b\" \\c"), "remove: ID=\"a \\\"b\\\" \\\\c\"");
}

int titleWidth(const QString& title) {
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title);
}

TEST(FitTitle, DialogsAreWideEnoughForTheirTitles) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("QIR Demonstration of stroke order"),
                    QStringLiteral("x"), QMessageBox::Ok);
    fitTitle(box);
    box.show();
    EXPECT_GT(box.width(), titleWidth(box.windowTitle()) + 60);

    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Confirm, with a title much longer than its content"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("?"), &dialog));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    fitTitle(dialog);
    dialog.show();
    EXPECT_GT(dialog.width(), titleWidth(dialog.windowTitle()) + 60);
}

}  // namespace
}  // namespace qir
