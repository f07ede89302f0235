// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The media device behind the player bar: one open clip, played on a clock, with its video
// shown in a display window. Every command returns a MediaResult (0 for success); positions
// and lengths count frames. Position runs from 0 to the length: at the length the last frame
// is shown and the clip has ended.

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>
#include <string>

#include "animation/clip.h"
#include "animation/media_error.h"
#include "animation/playback_clock.h"

namespace qir::animation {

class VideoSurface;

enum class DeviceMode { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

enum class NotifyOutcome { Successful, Superseded, Aborted, Failure };

// Device types a player can ask about; the last four can step through frames.
enum class DeviceType : int {
    Other = 0,
    Animation = 0x201,
    Overlay = 0x203,
    Videodisc = 0x207,
    DigitalVideo = 0x208,
};

struct DeviceCapabilities {
    bool canPlay = false;
    bool canRecord = false;
    bool canEject = false;
    bool hasVideo = false;
    DeviceType deviceType = DeviceType::Other;
};

// Posted to the notify target when a play or resume ends, however it ends.
class MediaNotifyEvent : public QEvent {
  public:
    MediaNotifyEvent(NotifyOutcome outcome, int deviceId);
    static QEvent::Type eventType();
    NotifyOutcome outcome() const { return outcome_; }
    int deviceId() const { return deviceId_; }

  private:
    NotifyOutcome outcome_;
    int deviceId_;
};

class MediaDevice : public QObject {
    Q_OBJECT
  public:
    struct Opened {
        int result = 0;
        std::unique_ptr<MediaDevice> device;  // set when result is 0
    };

    // Opens the clip `elementName` and waits until it is ready. Completion notices go to
    // `notifyTarget`; playback runs on `clock`, which must outlive the device.
    static Opened open(const std::string& elementName, QObject* notifyTarget,
                       PlaybackClock& clock = wallClock());
    ~MediaDevice() override;

    int id() const { return id_; }
    bool isOpen() const { return open_; }

    // Stops playback (a pending notice is aborted) and takes the video off its display.
    // Later commands answer kMediaDeviceNotOpen.
    MediaResult close();

    DeviceCapabilities capabilities() const;
    // Status. Reading it brings a running playback up to the clock first.
    int length() const;
    int position();
    DeviceMode mode();

    // Shows the video in `window`; frames are drawn at the clip's size from its top-left.
    MediaResult attachWindow(QWidget* window);
    QRect sourceRect() const;
    QRect destinationRect() const;

    // Starts playing from the position and returns at once; a MediaNotifyEvent follows.
    MediaResult play();
    MediaResult pause();
    // Continues a paused playback, with a notice like play.
    MediaResult resume();
    MediaResult stop();
    MediaResult seekToStart();
    MediaResult seekToEnd();
    // Moves by `frames` (backward when negative), stopping at the start and the end.
    MediaResult step(int frames);

    // The picture the display shows now.
    QImage currentPicture() const;

  private:
    MediaDevice(Clip clip, QObject* notifyTarget, PlaybackClock& clock);
    // Runs a command of an open device, after bringing a running playback up to the clock;
    // a closed device answers kMediaDeviceNotOpen to every command.
    template <typename Command>
    MediaResult onOpenDevice(Command&& command);
    void startPlaying();
    void advance();
    void scheduleNextFrame(std::int64_t framesDone, std::int64_t elapsedNs);
    void interrupt();
    void endNotice(NotifyOutcome outcome);
    void moveTo(int position);
    void showPosition();

    Clip clip_;
    int id_;
    bool open_ = true;
    QPointer<QObject> notifyTarget_;
    QPointer<VideoSurface> surface_;
    // The frame the surface shows, as the clip holds it, and the surface it went to.
    QImage shownFrame_;
    QPointer<VideoSurface> shownOn_;
    DeviceMode mode_ = DeviceMode::Stopped;
    int position_ = 0;
    bool noticePending_ = false;
    PlaybackClock& clock_;
    // Rings when the next frame is due.
    std::unique_ptr<PlaybackClock::Alarm> nextFrame_;
    // While playing: the position and the time it started from.
    int anchor_ = 0;
    std::int64_t startedNs_ = 0;
};

}  // namespace qir::animation
