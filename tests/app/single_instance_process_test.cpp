// SPDX-License-Identifier: GPL-3.0-or-later
// Two real processes: the second start hands over to the first and ends at once.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "tests/support/scratch_directory.h"

namespace qir {
namespace {

class SingleInstanceProcess : public ::testing::Test {
  protected:
    SingleInstanceProcess() {
        // A private runtime directory, so a real running instance is not involved.
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        first_.setProcessEnvironment(env);
        second_.setProcessEnvironment(env);
        first_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~SingleInstanceProcess() override {
        first_.kill();
        first_.waitForFinished();
    }
    bool waitForSocket() {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            if (!QDir(runtime_.path()).entryList({"MyTarsel*"}, QDir::System).isEmpty()) {
                return true;
            }
            QThread::msleep(20);
        }
        return false;
    }

    testing::ScratchDirectory directory_;
    QTemporaryDir runtime_;
    QProcess first_;
    QProcess second_;
};

TEST_F(SingleInstanceProcess, SecondStartHandsOverAndExitsZeroAtOnce) {
    first_.start(QIR_PROGRAM, {});
    ASSERT_TRUE(first_.waitForStarted());
    ASSERT_TRUE(waitForSocket());
    QElapsedTimer clock;
    clock.start();
    second_.start(QIR_PROGRAM, {});
    ASSERT_TRUE(second_.waitForFinished(5000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(second_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second_.exitCode(), 0);
    EXPECT_EQ(first_.state(), QProcess::Running);
    // The hand-over touched no file in the working directory.
    EXPECT_TRUE(QDir(QString::fromStdString(directory_.path().string()))
                    .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                    .isEmpty());
}

TEST_F(SingleInstanceProcess, AStaleSocketDoesNotBlockTheNextStart) {
    first_.start(QIR_PROGRAM, {});
    ASSERT_TRUE(first_.waitForStarted());
    ASSERT_TRUE(waitForSocket());
    first_.kill();  // crashes, leaving its socket behind
    first_.waitForFinished();
    second_.start(QIR_PROGRAM, {});
    ASSERT_TRUE(second_.waitForStarted());
    EXPECT_FALSE(second_.waitForFinished(1500));  // it runs as the new instance
    second_.kill();
    second_.waitForFinished();
}

}  // namespace
}  // namespace qir
