// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <array>
#include <cerrno>
#include <stdexcept>

namespace qir {
namespace {

constexpr std::array kSignals = {SIGTERM, SIGHUP, SIGINT};

// A handler may do next to nothing: it writes the signal's number into a pipe, and the event
// loop reads it from there.
int pipeEnds[2] = {-1, -1};

void onSignal(int signalNumber) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

}  // namespace

QuitOnTerminationSignals::QuitOnTerminationSignals(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] >= 0) {
        throw std::logic_error("the termination signals are taken already");
    }
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("cannot make a pipe for the termination signals");
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this,
            &QuitOnTerminationSignals::readPending);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

QuitOnTerminationSignals::~QuitOnTerminationSignals() {
    for (const int signalNumber : kSignals) {
        ::signal(signalNumber, SIG_DFL);
    }
    notifier_.reset();
    for (int& end : pipeEnds) {
        ::close(end);
        end = -1;
    }
}

void QuitOnTerminationSignals::readPending() {
    unsigned char byte = 0;
    bool any = false;
    while (::read(pipeEnds[0], &byte, 1) == 1) {
        any = true;
    }
    if (any) {
        // Ends nested loops too (a message box open at logout), as the window's close would.
        QCoreApplication::exit(0);
    }
}

}  // namespace qir
