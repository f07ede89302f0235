// SPDX-License-Identifier: GPL-3.0-or-later
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

#include "animation/playback_clock.h"

namespace qir::animation {
namespace {

class WallClock final : public PlaybackClock {
  public:
    WallClock() { started_.start(); }
    std::int64_t nowNs() const override { return started_.nsecsElapsed(); }
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override;

  private:
    QElapsedTimer started_;
};

class TimerAlarm final : public PlaybackClock::Alarm {
  public:
    TimerAlarm(const WallClock& clock, std::function<void()> ring) : clock_(clock) {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, std::move(ring));
    }
    void setFor(std::int64_t atNs) override {
        // Timers count whole milliseconds: round up, so the alarm never rings early.
        const std::int64_t waitNs = std::max<std::int64_t>(atNs - clock_.nowNs(), 0);
        timer_.start(static_cast<int>((waitNs + 999'999) / 1'000'000));
    }
    void cancel() override { timer_.stop(); }

  private:
    const WallClock& clock_;
    QTimer timer_;
};

std::unique_ptr<PlaybackClock::Alarm> WallClock::alarm(std::function<void()> ring) {
    return std::make_unique<TimerAlarm>(*this, std::move(ring));
}

}  // namespace

PlaybackClock& wallClock() {
    static WallClock clock;
    return clock;
}

}  // namespace qir::animation
