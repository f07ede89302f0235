// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/termination_signals.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace qir {
namespace {

// Runs the event loop with `signalNumber` raised inside it; the loop's exit code, or -1 when
// the signal did not end it within five seconds.
int loopEndedBy(int signalNumber) {
    QTimer::singleShot(0, [signalNumber] { ::raise(signalNumber); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(-1); });
    return QApplication::exec();
}

TEST(TerminationSignals, EachEndsTheEventLoopAsANormalExit) {
    QuitOnTerminationSignals quit;
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        EXPECT_EQ(loopEndedBy(signalNumber), 0) << signalNumber;
    }
}

TEST(TerminationSignals, AnOpenModalBoxDoesNotKeepTheProgramAlive) {
    QuitOnTerminationSignals quit;
    QDialog box;
    QTimer::singleShot(0, [&box] { box.exec(); });
    QTimer::singleShot(50, [] { ::raise(SIGTERM); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(-1); });
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST(TerminationSignals, TheDefaultActionsComeBackAfterwards) {
    { QuitOnTerminationSignals quit; }
    struct sigaction current {};
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
    // A second taker is fine once the first is gone.
    EXPECT_NO_THROW(QuitOnTerminationSignals again);
}

}  // namespace
}  // namespace qir
