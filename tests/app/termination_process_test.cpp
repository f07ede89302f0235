// SPDX-License-Identifier: GPL-3.0-or-later
// The session ending the program (logout, shutdown, a closed terminal) ends it as its exit
// button does: a normal exit that closes everything, the instance socket included.
#include <gtest/gtest.h>
#include <signal.h>

#include "tests/app/program_process.h"

namespace qir {
namespace {

TEST(TerminationProcess, TermHangUpAndInterruptEndTheProgramCleanly) {
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signalNumber);
        testing::ProgramProcesses programs;
        QProcess& program = programs.start();
        ASSERT_TRUE(program.waitForStarted());
        ASSERT_TRUE(programs.waitForSocket());
        ::kill(static_cast<pid_t>(program.processId()), signalNumber);
        ASSERT_TRUE(program.waitForFinished(5000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_FALSE(programs.socketExists());
    }
}

}  // namespace
}  // namespace qir
