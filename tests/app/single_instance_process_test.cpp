// SPDX-License-Identifier: GPL-3.0-or-later
// Two real processes: the second start hands over to the first and ends at once.
#include <gtest/gtest.h>

#include "tests/app/program_process.h"

namespace qir {
namespace {

TEST(SingleInstanceProcess, SecondStartHandsOverAndExitsZeroAtOnce) {
    testing::ProgramProcesses programs;
    QProcess& first = programs.start();
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(programs.waitForSocket());
    QElapsedTimer clock;
    clock.start();
    QProcess& second = programs.start();
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_LT(clock.elapsed(), 1000);
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
    EXPECT_FALSE(second.waitForFinished(1500));  // it runs as the new instance
}

}  // namespace
}  // namespace qir
