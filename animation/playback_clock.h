// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clock a playback runs on. The media device reads the time from it and sets an alarm for
// its next frame; the program plays on the wall clock, tests on one they move by hand.

#include <cstdint>
#include <functional>
#include <memory>

namespace qir::animation {

class PlaybackClock {
  public:
    // Rings, through the event loop, once the clock has reached the time it is set for.
    class Alarm {
      public:
        virtual ~Alarm() = default;
        // Replaces any time set before.
        virtual void setFor(std::int64_t atNs) = 0;
        virtual void cancel() = 0;
    };

    virtual ~PlaybackClock() = default;
    // Nanoseconds from a fixed start; never goes back.
    virtual std::int64_t nowNs() const = 0;
    virtual std::unique_ptr<Alarm> alarm(std::function<void()> ring) = 0;
};

// The monotonic wall clock, with precise timers for its alarms.
PlaybackClock& wallClock();

}  // namespace qir::animation
