// SPDX-License-Identifier: GPL-3.0-or-later
// The media device on real clips: status, frame-exact seeking and stepping, playback on the
// clock, and the completion notices.
#include "animation/media_device.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "animation/clip.h"
#include "animation/media_error.h"
#include "tests/animation/manual_clock.h"
#include "tests/animation/test_clips.h"
#include "tests/support/scratch_directory.h"

namespace qir::animation {
namespace {

using namespace std::chrono_literals;

using testing::ClipSpec;
using testing::expectedFrame;
using testing::frameNumberOf;
using testing::makeClip;
using testing::writeClip;

class NoticeRecorder : public QObject {
  public:
    explicit NoticeRecorder(qir::testing::ManualClock& clock) : clock_(clock) {}
    bool event(QEvent* event) override {
        if (event->type() == MediaNotifyEvent::eventType()) {
            const auto& notice = static_cast<const MediaNotifyEvent&>(*event);
            outcomes.push_back(notice.outcome());
            deviceIds.push_back(notice.deviceId());
            return true;
        }
        return QObject::event(event);
    }
    // Lets the clock run until `count` notices have come.
    bool waitFor(std::size_t count, int timeoutMs = 5000) {
        return clock_.runUntil([&] { return outcomes.size() >= count; }, timeoutMs);
    }
    std::vector<NotifyOutcome> outcomes;
    std::vector<int> deviceIds;

  private:
    qir::testing::ManualClock& clock_;
};

class MediaDeviceTest : public ::testing::Test {
  protected:
    std::unique_ptr<MediaDevice> openClip(const ClipSpec& shape) {
        writeClip("clip.avi", shape);
        auto opened = MediaDevice::open("clip.avi", &notices, clock);
        EXPECT_EQ(opened.result, kMediaOk);
        return std::move(opened.device);
    }

    qir::testing::ScratchDirectory scratch;
    // Playback runs on this clock, which the tests move.
    qir::testing::ManualClock clock;
    NoticeRecorder notices{clock};
};

TEST_F(MediaDeviceTest, OpensAClipAsASteppableVideoDeviceAtItsStart) {
    auto device = openClip({.frames = 12});
    ASSERT_TRUE(device);
    EXPECT_GT(device->id(), 0);
    EXPECT_EQ(device->length(), 12);
    EXPECT_EQ(device->position(), 0);
    EXPECT_EQ(device->mode(), DeviceMode::Stopped);
    const DeviceCapabilities caps = device->capabilities();
    EXPECT_TRUE(caps.canPlay);
    EXPECT_FALSE(caps.canRecord);
    EXPECT_FALSE(caps.canEject);
    EXPECT_TRUE(caps.hasVideo);
    EXPECT_EQ(caps.deviceType, DeviceType::DigitalVideo);
    EXPECT_EQ(device->sourceRect(), QRect(0, 0, 152, 124));
    EXPECT_EQ(device->currentPicture(), expectedFrame({.frames = 12}, 0));
}

TEST_F(MediaDeviceTest, EachOpenGetsItsOwnIdentifier) {
    auto first = openClip({.frames = 3});
    auto second = openClip({.frames = 3});
    EXPECT_NE(first->id(), second->id());
}

TEST_F(MediaDeviceTest, MissingFileIsAnErrorWithText) {
    auto opened = MediaDevice::open("absent.avi", &notices);
    EXPECT_EQ(opened.result, kMediaFileNotFound);
    EXPECT_FALSE(opened.device);
    ASSERT_TRUE(mediaErrorText(opened.result));
    EXPECT_FALSE(mediaErrorText(opened.result)->empty());
    EXPECT_FALSE(mediaErrorText(99999));
}

TEST_F(MediaDeviceTest, SeeksAndStepsExactlyToFramesAndStopsAtBothEnds) {
    const ClipSpec shape{.frames = 25};
    auto device = openClip(shape);
    ASSERT_TRUE(device);
    struct Move {
        int frames;
        int position;
    };
    // Frames beyond the ends clamp; frame k must be the picture of frame k, not a neighbour.
    for (const Move move : {Move{3, 3}, Move{1, 4}, Move{-2, 2}, Move{20, 22}, Move{100, 25},
                            Move{-1, 24}, Move{-100, 0}, Move{13, 13}}) {
        EXPECT_EQ(device->step(move.frames), kMediaOk);
        EXPECT_EQ(device->position(), move.position) << "after stepping " << move.frames;
        const int shown = std::min(move.position, shape.frames - 1);
        EXPECT_EQ(device->currentPicture(), expectedFrame(shape, shown));
    }
    EXPECT_EQ(device->seekToEnd(), kMediaOk);
    EXPECT_EQ(device->position(), 25);
    EXPECT_EQ(frameNumberOf(device->currentPicture()), 24);
    EXPECT_EQ(device->seekToStart(), kMediaOk);
    EXPECT_EQ(device->position(), 0);
    EXPECT_EQ(frameNumberOf(device->currentPicture()), 0);
}

TEST_F(MediaDeviceTest, PaletteClipsAreConvertedOnlyAsTheirFramesAreShown) {
    const ClipSpec shape{.frames = 12, .palette = true};
    // Opening keeps the frames as they came: a clip replaced before it plays costs no
    // conversion of its frames.
    const ClipLoad load = decodeClip(makeClip(shape));
    ASSERT_EQ(load.result, kMediaOk);
    ASSERT_EQ(load.clip.frameCount(), 12);
    for (int index = 0; index < 12; ++index) {
        EXPECT_EQ(load.clip.frames->at(index).format(), QImage::Format_Indexed8);
    }
    // Shown, every frame is the full-colour picture, opaque, exactly as drawn.
    auto device = openClip(shape);
    ASSERT_TRUE(device);
    for (int index = 0; index < shape.frames; ++index) {
        const QImage shown = device->currentPicture();
        EXPECT_EQ(shown.format(), QImage::Format_RGB32);
        EXPECT_EQ(shown, expectedFrame(shape, index)) << "frame " << index;
        EXPECT_EQ(frameNumberOf(shown), index);
        EXPECT_EQ(device->step(1), kMediaOk);
    }
}

TEST_F(MediaDeviceTest, ClipsOfManyFramesDecodeEveryFrameInOrder) {
    // Past several key frames and past 256, where the frame number needs two bytes.
    const ClipSpec shape{.width = 16, .height = 12, .frames = 300};
    auto device = openClip(shape);
    ASSERT_TRUE(device);
    ASSERT_EQ(device->length(), 300);
    for (int frame = 0; frame < 300; ++frame) {
        device->seekToStart();
        device->step(frame);
        ASSERT_EQ(frameNumberOf(device->currentPicture()), frame);
    }
}

TEST_F(MediaDeviceTest, FramesAskedInAnyOrderAreExact) {
    // Frames are decoded when asked for: forward from the one shown, or afresh from the key
    // frame before the target. Either way frame k is the picture of frame k.
    const ClipSpec shape{.width = 16, .height = 12, .frames = 120, .palette = true};
    const ClipLoad load = decodeClip(makeClip(shape));
    ASSERT_EQ(load.result, kMediaOk);
    std::uint32_t seed = 12345;
    for (int round = 0; round < 400; ++round) {
        seed = seed * 1664525u + 1013904223u;
        const int index = static_cast<int>(seed >> 8) % shape.frames;
        ASSERT_EQ(frameNumberOf(load.clip.frames->at(index).convertToFormat(QImage::Format_RGB32)),
                  index)
            << "round " << round;
    }
}

TEST_F(MediaDeviceTest, PlaysEveryFrameOnTheClockAndNotifiesAtTheEnd) {
    // 8 frames at 25 per second: 320 ms.
    const ClipSpec shape{.width = 32, .height = 24, .frames = 8, .framesPerSecond = 25};
    auto device = openClip(shape);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->play(), kMediaOk);
    EXPECT_EQ(device->mode(), DeviceMode::Playing);
    std::vector<int> seen;
    auto look = [&] {
        const int frame = frameNumberOf(device->currentPicture());
        if (seen.empty() || seen.back() != frame) {
            seen.push_back(frame);
        }
    };
    while (notices.outcomes.empty() && clock.elapsed() < 5000) {
        look();
        clock.pass(1ms);
    }
    const qint64 took = clock.elapsed();
    look();
    ASSERT_EQ(notices.outcomes, std::vector{NotifyOutcome::Successful});
    EXPECT_EQ(notices.deviceIds.front(), device->id());
    EXPECT_EQ(device->mode(), DeviceMode::Stopped);
    EXPECT_EQ(device->position(), 8);
    // Every frame in order, looked at each millisecond, and the end at the last frame's full
    // time on the clock: 320 ms, its notice seen at the next look.
    EXPECT_EQ(seen, (std::vector{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(took, 321);
}

TEST_F(MediaDeviceTest, PositionFollowsTheClockWhenTheEventLoopIsLate) {
    const ClipSpec shape{.width = 32, .height = 24, .frames = 20, .framesPerSecond = 50};
    auto device = openClip(shape);
    ASSERT_TRUE(device);
    device->play();
    clock.advance(110ms);  // no timer can fire meanwhile
    // One frame per 20 ms since play, whatever the timer managed.
    const int position = device->position();
    EXPECT_EQ(position, 5);
    EXPECT_EQ(frameNumberOf(device->currentPicture()), position);
    // Blocked past the end: the clip has ended, with its notice, at the next look.
    clock.advance(400ms);
    EXPECT_EQ(device->mode(), DeviceMode::Stopped);
    EXPECT_EQ(device->position(), 20);
    ASSERT_TRUE(notices.waitFor(1));
    EXPECT_EQ(notices.outcomes, std::vector{NotifyOutcome::Successful});
}

TEST_F(MediaDeviceTest, InterruptedPlaybackIsAbortedAndARepeatedPlaySupersedes) {
    const ClipSpec shape{.width = 32, .height = 24, .frames = 30, .framesPerSecond = 30};
    auto device = openClip(shape);
    ASSERT_TRUE(device);

    device->play();
    device->play();  // the first notice is superseded, the playback goes on
    EXPECT_EQ(device->mode(), DeviceMode::Playing);
    device->stop();
    EXPECT_EQ(device->mode(), DeviceMode::Stopped);
    ASSERT_TRUE(notices.waitFor(2));
    EXPECT_EQ(notices.outcomes, (std::vector{NotifyOutcome::Superseded, NotifyOutcome::Aborted}));

    // Seeking, stepping and closing all end a playback the same way.
    notices.outcomes.clear();
    device->play();
    device->step(1);
    device->play();
    device->seekToEnd();
    device->play();  // at the end: nothing to play, it ends at once
    ASSERT_TRUE(notices.waitFor(3));
    EXPECT_EQ(notices.outcomes, (std::vector{NotifyOutcome::Aborted, NotifyOutcome::Aborted,
                                             NotifyOutcome::Successful}));
    notices.outcomes.clear();
    device->seekToStart();
    device->play();
    EXPECT_EQ(device->close(), kMediaOk);
    ASSERT_TRUE(notices.waitFor(1));
    EXPECT_EQ(notices.outcomes, std::vector{NotifyOutcome::Aborted});
}

TEST_F(MediaDeviceTest, PauseHoldsThePositionAndResumeFinishesWithANotice) {
    const ClipSpec shape{.width = 32, .height = 24, .frames = 40, .framesPerSecond = 40};
    auto device = openClip(shape);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->resume(), kMediaNotPaused);
    device->play();
    clock.pass(100ms);
    EXPECT_EQ(device->pause(), kMediaOk);
    EXPECT_EQ(device->mode(), DeviceMode::Paused);
    const int held = device->position();
    EXPECT_EQ(held, 4);  // 100 ms at 40 frames a second
    clock.pass(150ms);
    EXPECT_EQ(device->position(), held);
    EXPECT_EQ(device->resume(), kMediaOk);
    EXPECT_EQ(device->mode(), DeviceMode::Playing);
    ASSERT_TRUE(notices.waitFor(2));
    EXPECT_EQ(notices.outcomes, (std::vector{NotifyOutcome::Aborted, NotifyOutcome::Successful}));
    EXPECT_EQ(device->position(), 40);
}

TEST_F(MediaDeviceTest, ShowsItsVideoInTheDisplayAtTheClipsSizeAndLeavesItOnClose) {
    QWidget panel;
    panel.resize(200, 150);
    const ClipSpec shape{.frames = 8};
    auto device = openClip(shape);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->attachWindow(nullptr), kMediaNoDisplay);
    EXPECT_EQ(device->attachWindow(&panel), kMediaOk);
    EXPECT_EQ(device->destinationRect(), QRect(0, 0, 152, 124));
    device->step(5);
    const QImage shown = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.copy(0, 0, 152, 124), expectedFrame(shape, 5));

    EXPECT_EQ(device->close(), kMediaOk);
    EXPECT_TRUE(panel.findChildren<QWidget*>().isEmpty());
    EXPECT_EQ(device->play(), kMediaDeviceNotOpen);
    EXPECT_EQ(device->step(1), kMediaDeviceNotOpen);
    EXPECT_EQ(device->close(), kMediaDeviceNotOpen);
}

}  // namespace
}  // namespace qir::animation
