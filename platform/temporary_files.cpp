// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/temporary_files.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>

namespace qir {
namespace {

// A fixed table, so the signal handler reads it without allocating or locking: a slot is
// filled while Claimed and read by the handler only once Active.
enum SlotState : int { Free, Claimed, Active };
constexpr std::size_t kSlots = 16;
std::array<std::atomic<int>, kSlots> states{};
std::array<std::array<char, PATH_MAX>, kSlots> paths{};

void onTermination(int signalNumber) {
    removeRegisteredTemporaryFiles();
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

}  // namespace

TemporaryFileRegistration::TemporaryFileRegistration(const std::string& path) : slot_(-1) {
    if (path.size() >= PATH_MAX) {
        return;
    }
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        int expected = Free;
        if (states[slot].compare_exchange_strong(expected, Claimed)) {
            std::memcpy(paths[slot].data(), path.c_str(), path.size() + 1);
            states[slot].store(Active);
            slot_ = static_cast<int>(slot);
            return;
        }
    }
}

TemporaryFileRegistration::~TemporaryFileRegistration() {
    if (slot_ >= 0) {
        states[static_cast<std::size_t>(slot_)].store(Free);
    }
}

void removeRegisteredTemporaryFiles() noexcept {
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        if (states[slot].load() == Active) {
            ::unlink(paths[slot].data());
        }
    }
}

void removeTemporaryFilesOnTermination() {
    struct sigaction action {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

}  // namespace qir
