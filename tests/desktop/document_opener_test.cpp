// SPDX-License-Identifier: GPL-3.0-or-later
// The watched opener: a failure is reported only while it still counts as failing to open, a
// missing opener is a failure at once, and an opener that ends later is still reaped.
#include "desktop/document_opener.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cerrno>

namespace qir {
namespace {

using std::chrono::milliseconds;

// Lets events run until `done` or `limit` has passed.
template <typename Done>
void runEventsUntil(Done done, milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && milliseconds(clock.elapsed()) < limit) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

TEST(DocumentOpener, AFailureIsReportedOnlyWithinItsPatience) {
    int failures = 0;
    runOpener(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 4")},
              [&] { ++failures; });
    runEventsUntil([&] { return failures > 0; }, milliseconds(10000));
    EXPECT_EQ(failures, 1);

    // Ended well: nothing to say.
    runOpener(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 0")},
              [&] { ++failures; });
    // Ended badly, but only after the patience: a browser that ran and then failed.
    QTemporaryDir folder;
    const QString ended = folder.filePath(QStringLiteral("ended"));
    runOpener(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("sleep 0.5; touch \"$0\"; exit 1"), ended},
        [&] { ++failures; }, milliseconds(100));
    runEventsUntil([&] { return QFile::exists(ended); }, milliseconds(10000));
    ASSERT_TRUE(QFile::exists(ended));
    runEventsUntil([] { return false; }, milliseconds(1500));  // its slow poll reaps it
    EXPECT_EQ(failures, 1);
    // No child left behind, not even a zombie.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(DocumentOpener, AnOpenerThatCannotBeStartedIsAFailureAtOnce) {
    int failures = 0;
    QTemporaryDir folder;
    runOpener(folder.filePath(QStringLiteral("no-such-opener")), {}, [&] { ++failures; });
    runEventsUntil([&] { return failures > 0; }, milliseconds(10000));
    EXPECT_EQ(failures, 1);
}

}  // namespace
}  // namespace qir
