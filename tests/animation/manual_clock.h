// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A playback clock the test moves by hand, so playback tests neither sleep nor depend on how
// busy the machine is. Alarms that come due ring through the event loop, as the wall clock's
// timers do: moving the clock without running events is an event loop that is late.

#include <QtGlobal>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "animation/playback_clock.h"

namespace qir::testing {

class ManualClock final : public animation::PlaybackClock {
  public:
    ManualClock() = default;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;
    ~ManualClock() override;

    std::int64_t nowNs() const override { return nowNs_; }
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override;

    // Milliseconds since the clock was made, like QElapsedTimer::elapsed().
    qint64 elapsed() const { return nowNs_ / 1'000'000; }
    // Moves the clock on; the alarms that come due ring when events run next.
    void advance(std::chrono::nanoseconds by);
    // Moves the clock on and runs the events that brings.
    void pass(std::chrono::milliseconds by);
    // Moves the clock a millisecond at a time, running the events after each, until `done`
    // holds or `timeoutMs` of clock time have gone by. True when `done` held.
    bool runUntil(const std::function<bool()>& done, int timeoutMs = 5000);

  private:
    class ManualAlarm;

    std::int64_t nowNs_ = 0;
    std::vector<ManualAlarm*> alarms_;
};

}  // namespace qir::testing
