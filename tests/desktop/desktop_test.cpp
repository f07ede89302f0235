// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/desktop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

namespace qir {
namespace {

// The offscreen platform the tests run on has no program to open documents with, as a
// machine without a web browser or xdg-open.
TEST(SystemDesktop, SaysSoWhenNoProgramCanShowADocument) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    QTemporaryDir folder;
    QFile help(folder.filePath(QStringLiteral("help.htm")));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    const QString saved = QDir::currentPath();
    QDir::setCurrent(folder.path());

    QString title;
    QString text;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        }
    });
    SystemDesktop desktop;
    desktop.openDocument(QStringLiteral("help.htm"));
    QDir::setCurrent(saved);
    EXPECT_EQ(title, kApplicationTitle);
    EXPECT_EQ(text, QStringLiteral("Cannot open help.htm: no program to show it was found. "
                                   "Install a web browser (and xdg-utils)."));

    // A help page that is not there is passed over in silence, as before.
    bool boxShown = false;
    QTimer::singleShot(0, [&] { boxShown = QApplication::activeModalWidget() != nullptr; });
    desktop.openDocument(QStringLiteral("gone.htm"));
    QApplication::processEvents();
    EXPECT_FALSE(boxShown);
}

}  // namespace
}  // namespace qir
