// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/desktop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>

namespace qir {
namespace {

// A scratch folder holding help.htm, made the working directory, with PATH naming only its
// bin folder: the tests choose what xdg-open there is.
class SystemDesktopTest : public ::testing::Test {
  protected:
    SystemDesktopTest() : savedFolder(QDir::currentPath()), savedPath(qgetenv("PATH")) {
        QFile help(folder.filePath(QStringLiteral("help.htm")));
        EXPECT_TRUE(help.open(QIODevice::WriteOnly));
        QDir(folder.path()).mkdir(QStringLiteral("bin"));
        qputenv("PATH", folder.filePath(QStringLiteral("bin")).toLocal8Bit());
        QDir::setCurrent(folder.path());
    }
    ~SystemDesktopTest() override {
        QDir::setCurrent(savedFolder);
        qputenv("PATH", savedPath);
    }

    // An xdg-open that runs `script` (sh).
    void giveOpener(const QString& script) {
        QFile opener(folder.filePath(QStringLiteral("bin/xdg-open")));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write(("#!/bin/sh\n" + script + "\n").toUtf8());
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Opens help.htm and lets events run for `wait`; the error box's text, or nothing.
    QString errorShownOpening(const QString& target, std::chrono::milliseconds wait) {
        QString text;
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                EXPECT_EQ(box->windowTitle(), kApplicationTitle);
                text = box->text();
                box->accept();
            }
        });
        watcher.start(10);
        desktop.openDocument(target);
        QElapsedTimer clock;
        clock.start();
        while (text.isEmpty() && std::chrono::milliseconds(clock.elapsed()) < wait) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return text;
    }

    QTemporaryDir folder;
    QString savedFolder;
    QByteArray savedPath;
    SystemDesktop desktop;
};

const QString kNoProgram = QStringLiteral(
    "Cannot open help.htm: no program to show it was found. Install a web browser (and "
    "xdg-utils).");

// Without xdg-open, Qt's own launch is tried; the offscreen platform the tests run on has
// none, as a desktop without any opener.
TEST_F(SystemDesktopTest, SaysSoWhenThereIsNoOpenerAtAll) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    EXPECT_EQ(errorShownOpening(QStringLiteral("help.htm"), std::chrono::seconds(2)), kNoProgram);

    // A help page that is not there is passed over in silence, as before.
    EXPECT_EQ(errorShownOpening(QStringLiteral("gone.htm"), std::chrono::milliseconds(200)),
              QString());
}

// xdg-open finds no browser and says so only by its exit status (3): the box says it.
TEST_F(SystemDesktopTest, SaysSoWhenTheOpenerFindsNoBrowser) {
    giveOpener(QStringLiteral("exit 3"));
    EXPECT_EQ(errorShownOpening(QStringLiteral("help.htm"), std::chrono::seconds(10)), kNoProgram);
}

// An opener that shows the page gets its full path, and nothing is said.
TEST_F(SystemDesktopTest, AnOpenerThatShowsThePageIsGivenItsPathAndNothingIsSaid) {
    // PATH names only the bin folder: builtins only.
    giveOpener(QStringLiteral("printf '%s' \"$1\" > \"${0%/*}/opened\""));
    EXPECT_EQ(errorShownOpening(QStringLiteral("help.htm"), std::chrono::seconds(2)), QString());
    QFile opened(folder.filePath(QStringLiteral("bin/opened")));
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(opened.readAll()),
              QFileInfo(folder.filePath(QStringLiteral("help.htm"))).absoluteFilePath());
}

}  // namespace
}  // namespace qir
