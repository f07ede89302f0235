// SPDX-License-Identifier: GPL-3.0-or-later
// Two real processes: the second start hands over to the first and ends at once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>

#include "tests/app/program_process.h"
#include "tests/support/foreign_listener.h"

namespace qir {
namespace {

TEST(SingleInstanceProcess, SecondStartHandsOverAndExitsZeroAtOnce) {
    testing::ProgramProcesses programs;
    QProcess& first = programs.start();
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(programs.waitForSocket());
    // The second start ends by itself (the wait only guards against a hang).
    QProcess& second = programs.start();
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    // The hand-over touched no file in the working directory.
    EXPECT_TRUE(QDir(QString::fromStdString(programs.workingDirectory().path().string()))
                    .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                    .isEmpty());
}

TEST(SingleInstanceProcess, AStaleSocketDoesNotBlockTheNextStart) {
    testing::ProgramProcesses programs;
    QProcess& first = programs.start();
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(programs.waitForSocket());
    first.kill();  // crashes, leaving its socket behind
    first.waitForFinished();
    QProcess& second = programs.start();
    ASSERT_TRUE(second.waitForStarted());
    // It runs as the new instance: it listens, and a later start hands over to it.
    ASSERT_TRUE(programs.waitForListeningInstance());
    QProcess& third = programs.start();
    ASSERT_TRUE(third.waitForFinished(20000));
    EXPECT_EQ(third.exitCode(), 0);
    EXPECT_EQ(second.state(), QProcess::Running);
}

TEST(SingleInstanceProcess, TenStartsAtTheSameMomentLeaveOneInstance) {
    testing::ProgramProcesses programs;
    std::vector<QProcess*> starts;
    for (int i = 0; i < 10; ++i) {
        starts.push_back(&programs.start());
    }
    // Nine hand over and end; one runs on.
    QElapsedTimer clock;
    clock.start();
    int handedOver = 0;
    while (handedOver < 9 && clock.elapsed() < 20000) {
        QThread::msleep(50);
        handedOver = 0;
        for (QProcess* start : starts) {
            start->waitForFinished(0);
            handedOver += start->state() == QProcess::NotRunning ? 1 : 0;
        }
    }
    QThread::msleep(500);
    handedOver = 0;
    for (QProcess* start : starts) {
        start->waitForFinished(0);
        if (start->state() == QProcess::NotRunning) {
            EXPECT_EQ(start->exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(start->exitCode(), 0);
            ++handedOver;
        }
    }
    EXPECT_EQ(handedOver, 9);
    // The one that runs is the one a later start finds.
    QProcess& later = programs.start();
    EXPECT_TRUE(later.waitForFinished(5000));
    EXPECT_EQ(later.exitCode(), 0);
}

TEST(SingleInstanceProcess, AnotherUserListeningAtTheFallbackDoesNotStopTheStart) {
    if (!testing::mayActAsAnotherUser()) {
        GTEST_SKIP() << "needs root, to act as another user (CI runs as root)";
    }
    namespace fs = std::filesystem;
    testing::ProgramProcesses programs;
    QTemporaryDir tempFolder;
    const fs::path temp = tempFolder.path().toStdString();
    fs::permissions(temp, fs::perms::all | fs::perms::sticky_bit);
    programs.environment().remove("XDG_RUNTIME_DIR");
    programs.environment().insert("TMPDIR", tempFolder.path());
    // The other user made our folder in the temp folder first and listens in it, and in the
    // temp folder itself.
    const std::string socket = "MyTarsel-" + std::to_string(::geteuid()) + ".socket";
    const fs::path theirs = temp / ("qir-" + std::to_string(::geteuid()));
    fs::create_directory(theirs);
    ASSERT_EQ(::chown(theirs.c_str(), testing::kNobody, testing::kNobody), 0);
    fs::permissions(theirs, fs::perms::all);
    testing::ForeignListener inTheirFolder(theirs / socket, false);
    testing::ForeignListener inTheTempFolder(temp / socket, false);
    ASSERT_TRUE(inTheirFolder.listening());
    ASSERT_TRUE(inTheTempFolder.listening());

    // It runs, as the only instance: it takes the working folder, which a start that hands
    // over never does.
    QProcess& start = programs.start();
    ASSERT_TRUE(start.waitForStarted());
    EXPECT_TRUE(programs.waitForWorkingFolderHeldBy(start))
        << "the start did not take the working folder; its state: " << start.state();
    EXPECT_EQ(start.state(), QProcess::Running);
}

}  // namespace
}  // namespace qir

namespace qir {
namespace {

// The same user in a second session: another runtime folder, so the channel cannot find the
// first window, but the same working folder. The second start says why it does not open a
// window, on the standard error and in the error box, instead of failing later.
TEST(SingleInstanceProcess, AStartFromAnotherSessionSaysTheProgramRunsThere) {
    testing::ProgramProcesses programs;
    QProcess& first = programs.start();
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(programs.waitForSocket());

    QTemporaryDir otherSession;
    QProcessEnvironment environment = programs.environment();
    environment.insert("XDG_RUNTIME_DIR", otherSession.path());
    QProcess second;
    second.setProcessEnvironment(environment);
    const QString folder = QString::fromStdString(programs.workingDirectory().path().string());
    second.setWorkingDirectory(folder);
    second.start(QIR_PROGRAM, {});
    ASSERT_TRUE(second.waitForStarted());
    QByteArray said;
    QElapsedTimer clock;
    clock.start();
    while (!said.contains('\n') && clock.elapsed() < 10000) {
        second.waitForReadyRead(200);
        said += second.readAllStandardError();
    }
    EXPECT_EQ(QString::fromLocal8Bit(said).section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("qir-stroke: QIR Demonstration of stroke order is already running "
                             "for this user in another session, in the working folder %1. Close "
                             "it there, then start the program again.")
                  .arg(QDir(folder).canonicalPath()));
    // It waits in its error box; the first window runs on.
    EXPECT_EQ(second.state(), QProcess::Running);
    EXPECT_EQ(first.state(), QProcess::Running);
    second.kill();
    second.waitForFinished();
}

}  // namespace
}  // namespace qir
