// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/animation/manual_clock.h"

#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <optional>

namespace qir::testing {

class ManualClock::ManualAlarm final : public QObject, public Alarm {
  public:
    ManualAlarm(ManualClock& clock, std::function<void()> ring)
        : clock_(clock), ring_(std::move(ring)) {
        clock_.alarms_.push_back(this);
    }
    ~ManualAlarm() override { std::erase(clock_.alarms_, this); }

    void setFor(std::int64_t atNs) override {
        dueNs_ = atNs;
        ++setting_;
        ringIfDue();
    }
    void cancel() override {
        dueNs_.reset();
        ++setting_;
    }

    // Posts the ring to the event loop once the clock has reached the time; a later setting
    // or a cancel before it runs takes it back, as stopping a timer does.
    void ringIfDue() {
        if (!dueNs_ || *dueNs_ > clock_.nowNs()) {
            return;
        }
        dueNs_.reset();
        QMetaObject::invokeMethod(
            this,
            [this, setting = setting_] {
                if (setting == setting_) {
                    ring_();
                }
            },
            Qt::QueuedConnection);
    }

  private:
    ManualClock& clock_;
    std::function<void()> ring_;
    std::optional<std::int64_t> dueNs_;
    unsigned setting_ = 0;
};

ManualClock::~ManualClock() = default;

std::unique_ptr<animation::PlaybackClock::Alarm> ManualClock::alarm(std::function<void()> ring) {
    return std::make_unique<ManualAlarm>(*this, std::move(ring));
}

void ManualClock::advance(std::chrono::nanoseconds by) {
    nowNs_ += by.count();
    for (ManualAlarm* alarm : std::vector(alarms_)) {
        alarm->ringIfDue();
    }
}

void ManualClock::pass(std::chrono::milliseconds by) {
    advance(by);
    QCoreApplication::processEvents();
}

bool ManualClock::runUntil(const std::function<bool()>& done, int timeoutMs) {
    QCoreApplication::processEvents();
    for (int passed = 0; !done(); ++passed) {
        if (passed >= timeoutMs) {
            return false;
        }
        pass(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace qir::testing
