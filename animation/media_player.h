// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The player bar: transport buttons that drive a media device, with the device's video shown
// in a display widget. The program sets a file name, opens and plays; the user works the clip
// with the buttons (mouse, or Left/Right/Space while the bar has the focus). A pressed
// button keeps the mouse (Qt grabs it for the widget) until it is released.

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "animation/button_types.h"
#include "animation/media_device.h"
#include "desktop/desktop.h"

namespace qir::animation {

class MediaPlayer : public QWidget {
    Q_OBJECT
  public:
    // Errors from the user's clicks and keys are shown through `desktop`'s error box. Clips
    // play on `clock`, which must outlive the player.
    explicit MediaPlayer(Desktop& desktop, QWidget* parent = nullptr,
                         PlaybackClock& clock = wallClock());
    ~MediaPlayer() override;

    // Settings.
    void setDisplay(QWidget* display);
    QWidget* display() const { return display_; }
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
    const std::string& fileName() const { return fileName_; }
    void setAutoRewind(bool autoRewind) { autoRewind_ = autoRewind; }
    void setVisibleButtons(TButtonSet buttons);
    TButtonSet visibleButtons() const { return visible_; }

    // Operations. Each but open raises EMCIDeviceError "No MCI device open" without a device;
    // open raises the device's error text. Other device failures only set lastResult().
    void open();
    void close();
    void play();
    void pause();  // pauses a playing clip, resumes a paused one
    void stop();
    void next();
    void previous();
    void step();
    void back();
    // What a click on `button` does: nothing on a greyed one, else its operation and then its
    // rule for the buttons, errors shown in the error box. Assistive technology presses here.
    void clickButton(TMPBtnType button);

    // State.
    bool deviceOpen() const { return device_ != nullptr; }
    int deviceId() const { return deviceId_; }
    TButtonSet autoButtons() const { return autoSet_; }
    int lastResult() const { return lastResult_; }
    std::optional<NotifyOutcome> notifyValue() const { return notifyValue_; }
    int stepSize() const { return stepSize_; }
    const DeviceCapabilities& capabilities() const { return capabilities_; }
    QRect displayRect() const { return displayRect_; }
    TMPBtnType focusedButton() const { return focused_; }
    // Device status; without a device: NotReady and 0. Reading the mode or the position
    // brings a running playback up to the clock (and may end it).
    DeviceMode mode();
    int position();
    int length() const;
    // False once the player is being destroyed.
    bool announcesStates() const { return !closing_; }
    // Where a visible button sits on the bar; empty for a hidden one.
    QRect buttonRect(TMPBtnType button) const;

  signals:
    // A completion notice arrived and the buttons were brought up to date.
    void notified(NotifyOutcome outcome);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    MediaDevice& requireDevice();
    void runButton(TMPBtnType button);
    void applyButtonRule(TMPBtnType button);
    void handleNotice(const MediaNotifyEvent& notice);
    void pressAt(QPoint point);
    std::optional<TMPBtnType> buttonAt(QPoint point) const;
    int visibleCount() const;
    int buttonWidth() const;
    void fitSize();
    void drawButton(QPainter& painter, TMPBtnType button, QRect rect, bool pressed) const;

    Desktop& desktop_;
    PlaybackClock& clock_;
    std::unique_ptr<MediaDevice> device_;
    int deviceId_ = 0;
    QPointer<QWidget> display_;
    QRect displayRect_;
    std::string fileName_;
    bool autoRewind_ = true;
    int stepSize_ = 0;
    DeviceCapabilities capabilities_;
    TButtonSet visible_{TMPBtnType::btPlay, TMPBtnType::btPause, TMPBtnType::btStop,
                        TMPBtnType::btNext, TMPBtnType::btPrev,  TMPBtnType::btStep,
                        TMPBtnType::btBack};
    TButtonSet enabled_ = TButtonSet::all();
    TButtonSet colored_{TMPBtnType::btRecord, TMPBtnType::btEject};
    TButtonSet autoSet_;
    TMPBtnType focused_ = TMPBtnType::btPlay;
    std::optional<TMPBtnType> pressed_;
    bool pointerOverPressed_ = false;
    int lastResult_ = 0;
    std::optional<NotifyOutcome> notifyValue_;
    bool fitting_ = false;
    bool closing_ = false;
};

}  // namespace qir::animation
