// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/media_device.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdint>

#include "animation/media_error.h"
#include "animation/video_surface.h"

namespace qir::animation {
namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

enum class Rounding { Down, Up };

// a × b / c rounded as asked (towards minus or plus infinity), with no overflow on the way;
// c is positive.
std::int64_t scaled(std::int64_t a, std::int64_t b, std::int64_t c, Rounding rounding) {
    const __int128 product = static_cast<__int128>(a) * b;
    __int128 quotient = product / c;
    const __int128 remainder = product % c;
    if (rounding == Rounding::Down && remainder < 0) {
        --quotient;
    } else if (rounding == Rounding::Up && remainder > 0) {
        ++quotient;
    }
    return static_cast<std::int64_t>(quotient);
}

int nextDeviceId() {
    static int lastId = 0;
    return ++lastId;
}

}  // namespace

MediaNotifyEvent::MediaNotifyEvent(NotifyOutcome outcome, int deviceId)
    : QEvent(eventType()), outcome_(outcome), deviceId_(deviceId) {}

QEvent::Type MediaNotifyEvent::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

MediaDevice::Opened MediaDevice::open(const std::string& elementName, QObject* notifyTarget,
                                      PlaybackClock& clock) {
    ClipLoad load = loadClipFile(elementName);
    if (load.result != kMediaOk) {
        return {load.result, nullptr};
    }
    return {kMediaOk, std::unique_ptr<MediaDevice>(
                          new MediaDevice(std::move(load.clip), notifyTarget, clock))};
}

MediaDevice::MediaDevice(Clip clip, QObject* notifyTarget, PlaybackClock& clock)
    : clip_(std::move(clip)),
      id_(nextDeviceId()),
      notifyTarget_(notifyTarget),
      clock_(clock),
      nextFrame_(clock.alarm([this] { advance(); })) {}

MediaDevice::~MediaDevice() {
    close();
}

template <typename Command>
MediaResult MediaDevice::onOpenDevice(Command&& command) {
    if (!open_) {
        return kMediaDeviceNotOpen;
    }
    advance();
    return command();
}

MediaResult MediaDevice::close() {
    if (!open_) {
        return kMediaDeviceNotOpen;
    }
    interrupt();
    delete surface_.data();
    open_ = false;
    return kMediaOk;
}

DeviceCapabilities MediaDevice::capabilities() const {
    DeviceCapabilities caps;
    caps.canPlay = true;
    caps.hasVideo = true;
    caps.deviceType = DeviceType::DigitalVideo;
    return caps;
}

int MediaDevice::length() const {
    return clip_.frameCount();
}

int MediaDevice::position() {
    advance();
    return position_;
}

DeviceMode MediaDevice::mode() {
    advance();
    return mode_;
}

MediaResult MediaDevice::attachWindow(QWidget* window) {
    if (!open_) {
        return kMediaDeviceNotOpen;
    }
    if (window == nullptr) {
        return kMediaNoDisplay;
    }
    delete surface_.data();
    surface_ = new VideoSurface(window, clip_.size);
    showPosition();
    return kMediaOk;
}

QRect MediaDevice::sourceRect() const {
    return QRect(QPoint(0, 0), clip_.size);
}

QRect MediaDevice::destinationRect() const {
    return surface_ ? surface_->geometry() : QRect();
}

MediaResult MediaDevice::play() {
    return onOpenDevice([&] {
        if (noticePending_) {
            endNotice(NotifyOutcome::Superseded);
        }
        noticePending_ = true;
        startPlaying();
        return kMediaOk;
    });
}

MediaResult MediaDevice::pause() {
    return onOpenDevice([&] {
        if (mode_ == DeviceMode::Playing) {
            interrupt();
            mode_ = DeviceMode::Paused;
        }
        return kMediaOk;
    });
}

MediaResult MediaDevice::resume() {
    return onOpenDevice([&] {
        if (mode_ != DeviceMode::Paused && mode_ != DeviceMode::Playing) {
            return kMediaNotPaused;
        }
        return play();
    });
}

MediaResult MediaDevice::stop() {
    return onOpenDevice([&] {
        interrupt();
        return kMediaOk;
    });
}

MediaResult MediaDevice::seekToStart() {
    return onOpenDevice([&] {
        interrupt();
        moveTo(0);
        return kMediaOk;
    });
}

MediaResult MediaDevice::seekToEnd() {
    return onOpenDevice([&] {
        interrupt();
        moveTo(length());
        return kMediaOk;
    });
}

MediaResult MediaDevice::step(int frames) {
    return onOpenDevice([&] {
        interrupt();
        const std::int64_t target = static_cast<std::int64_t>(position_) + frames;
        moveTo(static_cast<int>(std::clamp<std::int64_t>(target, 0, length())));
        return kMediaOk;
    });
}

QImage MediaDevice::currentPicture() const {
    // Decoding the frame changes only what the clip keeps of its decoder, not what it shows.
    const QImage frame = clip_.frames->at(std::min(position_, length() - 1));
    // Palette frames are converted as they are shown (clip.h).
    return frame.format() == QImage::Format_RGB32 ? frame
                                                  : frame.convertToFormat(QImage::Format_RGB32);
}

void MediaDevice::startPlaying() {
    nextFrame_->cancel();
    if (position_ >= length()) {
        // Nothing left to play: the clip ends at once.
        mode_ = DeviceMode::Stopped;
        endNotice(NotifyOutcome::Successful);
        return;
    }
    mode_ = DeviceMode::Playing;
    anchor_ = position_;
    startedNs_ = clock_.nowNs();
    showPosition();
    scheduleNextFrame(0, 0);
}

// Brings the position up to the clock; when the clock has passed the end of the last frame,
// the clip has ended. The position comes from the clock, never from counting timer ticks, so
// a late tick neither drifts the playback nor skips the end.
void MediaDevice::advance() {
    if (mode_ != DeviceMode::Playing) {
        return;
    }
    const std::int64_t elapsedNs = clock_.nowNs() - startedNs_;
    const std::int64_t framesDone =
        scaled(elapsedNs, clip_.rate.numerator, clip_.rate.denominator * kNanosecondsPerSecond,
               Rounding::Down);
    const std::int64_t reached = anchor_ + framesDone;
    if (reached >= length()) {
        nextFrame_->cancel();
        position_ = length();
        mode_ = DeviceMode::Stopped;
        showPosition();
        endNotice(NotifyOutcome::Successful);
        return;
    }
    position_ = static_cast<int>(reached);
    showPosition();
    scheduleNextFrame(framesDone, elapsedNs);
}

void MediaDevice::scheduleNextFrame(std::int64_t framesDone, std::int64_t elapsedNs) {
    const std::int64_t nextFrameNs =
        scaled(framesDone + 1, clip_.rate.denominator * kNanosecondsPerSecond, clip_.rate.numerator,
               Rounding::Up);
    nextFrame_->setFor(startedNs_ + std::max(nextFrameNs, elapsedNs));
}

// Ends a running or paused playback where it stands; its notice, if any, is aborted.
void MediaDevice::interrupt() {
    nextFrame_->cancel();
    if (mode_ == DeviceMode::Playing || mode_ == DeviceMode::Paused) {
        mode_ = DeviceMode::Stopped;
    }
    if (noticePending_) {
        endNotice(NotifyOutcome::Aborted);
    }
}

void MediaDevice::endNotice(NotifyOutcome outcome) {
    noticePending_ = false;
    if (notifyTarget_) {
        QCoreApplication::postEvent(notifyTarget_, new MediaNotifyEvent(outcome, id_));
    }
}

void MediaDevice::moveTo(int position) {
    position_ = position;
    showPosition();
}

void MediaDevice::showPosition() {
    if (!surface_) {
        return;
    }
    const QImage frame = clip_.frames->at(std::min(position_, length() - 1));
    // A frame like the one on show (a clip holds still between strokes) is neither converted
    // nor painted again; the comparison costs a fraction of either.
    if (surface_ == shownOn_ && frame == shownFrame_) {
        return;
    }
    shownOn_ = surface_;
    shownFrame_ = frame;
    surface_->setPicture(currentPicture());
}

}  // namespace qir::animation
