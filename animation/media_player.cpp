// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/media_player.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "animation/button_glyphs.h"
#include "animation/mci_error.h"
#include "animation/media_error.h"
#include "animation/media_player_accessible.h"
#include "desktop/error_guard.h"
#include "desktop/pixel_snapping.h"

namespace qir::animation {
namespace {

bool canStep(const DeviceCapabilities& caps) {
    switch (caps.deviceType) {
        case DeviceType::Animation:
        case DeviceType::Overlay:
        case DeviceType::Videodisc:
        case DeviceType::DigitalVideo:
            return true;
        default:
            return false;
    }
}

// A dotted rectangle, every other pixel, drawn pixel by pixel so it stays crisp.
void drawFocusRect(QPainter& painter, const QRect& rect, const QColor& colour) {
    int n = 0;
    auto dot = [&](int x, int y) {
        if (n++ % 2 == 0) {
            painter.fillRect(x, y, 1, 1, colour);
        }
    };
    for (int x = rect.left(); x < rect.right(); ++x)
        dot(x, rect.top());
    for (int y = rect.top(); y < rect.bottom(); ++y)
        dot(rect.right(), y);
    for (int x = rect.right(); x > rect.left(); --x)
        dot(x, rect.bottom());
    for (int y = rect.bottom(); y > rect.top(); --y)
        dot(rect.left(), y);
}

}  // namespace

MediaPlayer::MediaPlayer(Desktop& desktop, QWidget* parent, PlaybackClock& clock)
    : QWidget(parent), desktop_(desktop), clock_(clock) {
    // Reached by Tab; the mouse gives it the focus only by pressing a button that works (see
    // pressAt), so a click on the greyed bar leaves the focus in the input box.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    fitSize();
    static const bool accessibilityInstalled = [] {
        QAccessible::installFactory(mediaPlayerAccessibleFactory);
        return true;
    }();
    Q_UNUSED(accessibilityInstalled);
    setAccessibleName(tr("Player"));
}

MediaPlayer::~MediaPlayer() {
    closing_ = true;  // no state changes to announce from a player going away
    close();
}

void MediaPlayer::setDisplay(QWidget* display) {
    display_ = display;
}

void MediaPlayer::setVisibleButtons(TButtonSet buttons) {
    visible_ = buttons;
    fitSize();
    update();
}

// ---- Operations ----

void MediaPlayer::open() {
    const ButtonStateAnnouncement announcement(*this);
    close();
    MediaDevice::Opened opened = MediaDevice::open(fileName_, this, clock_);
    lastResult_ = opened.result;
    if (opened.result != kMediaOk) {
        update();
        throw mciError(opened.result);
    }
    device_ = std::move(opened.device);
    deviceId_ = device_->id();
    stepSize_ = device_->length() / 10;
    capabilities_ = device_->capabilities();
    if (capabilities_.hasVideo && display_) {
        if (device_->attachWindow(display_) == kMediaOk) {
            displayRect_ = device_->destinationRect();
        } else {
            display_ = nullptr;
        }
    }
    autoSet_ = {TMPBtnType::btNext, TMPBtnType::btPrev};
    if (canStep(capabilities_)) {
        autoSet_.add(TMPBtnType::btStep);
        autoSet_.add(TMPBtnType::btBack);
    }
    if (capabilities_.canPlay) {
        autoSet_.add(TMPBtnType::btPlay);
    }
    if (capabilities_.canRecord) {
        autoSet_.add(TMPBtnType::btRecord);
    }
    if (capabilities_.canEject) {
        autoSet_.add(TMPBtnType::btEject);
    }
    if (device_->mode() == DeviceMode::Playing) {
        applyButtonRule(TMPBtnType::btPlay);
    }
    update();
}

void MediaPlayer::close() {
    const ButtonStateAnnouncement announcement(*this);
    if (!device_) {
        return;
    }
    lastResult_ = device_->close();
    autoSet_ = {};
    if (lastResult_ == kMediaOk) {
        device_.reset();
        deviceId_ = 0;
        displayRect_ = {};
    }
    update();
}

void MediaPlayer::play() {
    MediaDevice& device = requireDevice();
    if (autoRewind_ && device.position() == device.length()) {
        lastResult_ = device.seekToStart();
    }
    lastResult_ = device.play();
}

void MediaPlayer::pause() {
    MediaDevice& device = requireDevice();
    switch (device.mode()) {
        case DeviceMode::Playing:
            lastResult_ = device.pause();
            break;
        case DeviceMode::Paused:
            lastResult_ = device.resume();
            if (lastResult_ != kMediaOk) {
                play();
            }
            break;
        default:
            break;
    }
}

void MediaPlayer::stop() {
    lastResult_ = requireDevice().stop();
}

void MediaPlayer::next() {
    lastResult_ = requireDevice().seekToEnd();
}

void MediaPlayer::previous() {
    lastResult_ = requireDevice().seekToStart();
}

void MediaPlayer::step() {
    MediaDevice& device = requireDevice();
    if (!capabilities_.hasVideo) {
        return;
    }
    if (autoRewind_ && device.position() == device.length()) {
        lastResult_ = device.seekToStart();
    }
    lastResult_ = device.step(stepSize_);
}

void MediaPlayer::back() {
    MediaDevice& device = requireDevice();
    if (!capabilities_.hasVideo) {
        return;
    }
    lastResult_ = device.step(-stepSize_);
}

DeviceMode MediaPlayer::mode() {
    return device_ ? device_->mode() : DeviceMode::NotReady;
}

int MediaPlayer::position() {
    return device_ ? device_->position() : 0;
}

int MediaPlayer::length() const {
    return device_ ? device_->length() : 0;
}

MediaDevice& MediaPlayer::requireDevice() {
    if (!device_) {
        throw noDeviceOpenError();
    }
    return *device_;
}

void MediaPlayer::runButton(TMPBtnType button) {
    switch (button) {
        case TMPBtnType::btPlay:
            play();
            break;
        case TMPBtnType::btPause:
            pause();
            break;
        case TMPBtnType::btStop:
            stop();
            break;
        case TMPBtnType::btNext:
            next();
            break;
        case TMPBtnType::btPrev:
            previous();
            break;
        case TMPBtnType::btStep:
            step();
            break;
        case TMPBtnType::btBack:
            back();
            break;
        case TMPBtnType::btRecord:
        case TMPBtnType::btEject:
            // This device neither records nor ejects; the buttons are never in the auto set.
            requireDevice();
            break;
    }
}

// How the auto set follows a button's operation.
void MediaPlayer::applyButtonRule(TMPBtnType button) {
    const ButtonStateAnnouncement announcement(*this);
    auto enablePlayAndRecord = [this] {
        if (capabilities_.canPlay) {
            autoSet_.add(TMPBtnType::btPlay);
        }
        if (capabilities_.canRecord) {
            autoSet_.add(TMPBtnType::btRecord);
        }
    };
    switch (button) {
        case TMPBtnType::btPlay:
        case TMPBtnType::btRecord:
            autoSet_.remove(TMPBtnType::btPlay);
            autoSet_.remove(TMPBtnType::btRecord);
            autoSet_.add(TMPBtnType::btPause);
            autoSet_.add(TMPBtnType::btStop);
            break;
        case TMPBtnType::btPause:
            enablePlayAndRecord();
            break;
        default:
            enablePlayAndRecord();
            autoSet_.remove(TMPBtnType::btPause);
            autoSet_.remove(TMPBtnType::btStop);
            break;
    }
    update();
}

void MediaPlayer::handleNotice(const MediaNotifyEvent& notice) {
    const ButtonStateAnnouncement announcement(*this);
    if (device_ && device_->mode() == DeviceMode::Stopped) {
        autoSet_.add(TMPBtnType::btPlay);
        if (capabilities_.canRecord) {
            autoSet_.add(TMPBtnType::btRecord);
        }
        autoSet_.remove(TMPBtnType::btPause);
        autoSet_.remove(TMPBtnType::btStop);
        update();
    }
    notifyValue_ = notice.outcome();
    emit notified(notice.outcome());
}

bool MediaPlayer::event(QEvent* event) {
    if (event->type() == MediaNotifyEvent::eventType()) {
        handleNotice(static_cast<const MediaNotifyEvent&>(*event));
        return true;
    }
    return QWidget::event(event);
}

// ---- Layout ----

int MediaPlayer::visibleCount() const {
    return static_cast<int>(std::count_if(std::begin(kAllButtons), std::end(kAllButtons),
                                          [this](TMPBtnType b) { return visible_.contains(b); }));
}

// Equal buttons sharing their borders: (width - 1) div count + 1, and never narrower than
// the widest glyph with room for the faces.
int MediaPlayer::buttonWidth() const {
    const int count = std::max(visibleCount(), 1);
    int widestGlyph = 0;
    for (TMPBtnType button : kAllButtons) {
        if (visible_.contains(button)) {
            widestGlyph = std::max(widestGlyph, glyphSize(button).width());
        }
    }
    return std::max((width() - 1) / count + 1, widestGlyph + 8);
}

// Keeps the bar at count x (button width - 1) + 1 wide and tall enough for every glyph.
void MediaPlayer::fitSize() {
    if (fitting_) {
        return;
    }
    int tallestGlyph = 0;
    for (TMPBtnType button : kAllButtons) {
        if (visible_.contains(button)) {
            tallestGlyph = std::max(tallestGlyph, glyphSize(button).height());
        }
    }
    const int count = visibleCount();
    const QSize fitted(count == 0 ? width() : count * (buttonWidth() - 1) + 1,
                       std::max(height(), tallestGlyph + 4));
    if (fitted != size()) {
        fitting_ = true;
        resize(fitted);
        fitting_ = false;
    }
}

void MediaPlayer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitSize();
}

QRect MediaPlayer::buttonRect(TMPBtnType button) const {
    if (!visible_.contains(button)) {
        return {};
    }
    const int width = buttonWidth();
    int index = 0;
    for (TMPBtnType kind : kAllButtons) {
        if (kind == button) {
            break;
        }
        if (visible_.contains(kind)) {
            ++index;
        }
    }
    return QRect(index * (width - 1), 0, width, height());
}

std::optional<TMPBtnType> MediaPlayer::buttonAt(QPoint point) const {
    for (TMPBtnType button : kAllButtons) {
        if (buttonRect(button).contains(point)) {
            return button;
        }
    }
    return std::nullopt;
}

// ---- Painting ----

void MediaPlayer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    for (TMPBtnType button : kAllButtons) {
        if (visible_.contains(button)) {
            drawButton(painter, button, buttonRect(button),
                       pressed_ == button && pointerOverPressed_);
        }
    }
}

void MediaPlayer::drawButton(QPainter& painter, TMPBtnType button, QRect rect, bool pressed) const {
    const QPalette& colours = palette();
    // The frame, shared with the neighbours; frame and bevels snapped to device pixels.
    drawSnappedEdge(painter, rect, Qt::black, Qt::black);
    // The face: raised, or sunken while pressed.
    const QRect face = rect.adjusted(1, 1, -1, -1);
    painter.fillRect(snappedToDevicePixels(painter, QRectF(face)), colours.color(QPalette::Button));
    const QColor topLeft = colours.color(pressed ? QPalette::Dark : QPalette::Light);
    fillSnapped(painter, QRect(face.left(), face.top(), face.width(), 1), topLeft);
    fillSnapped(painter, QRect(face.left(), face.top(), 1, face.height()), topLeft);
    if (!pressed) {
        const QColor bottomRight = colours.color(QPalette::Dark);
        fillSnapped(painter, QRect(face.left(), face.bottom(), face.width(), 1), bottomRight);
        fillSnapped(painter, QRect(face.right(), face.top(), 1, face.height()), bottomRight);
    }

    GlyphLook look = GlyphLook::Greyed;
    if (isEnabled() && autoSet_.contains(button)) {
        look = colored_.contains(button) ? GlyphLook::Coloured : GlyphLook::Normal;
    }
    const QPoint shift = pressed ? QPoint(1, 1) : QPoint(0, 0);
    const QSize glyph = glyphSize(button);
    const QPoint glyphTopLeft(face.left() + (face.width() - glyph.width()) / 2,
                              face.top() + (face.height() - glyph.height()) / 2);
    drawGlyph(painter, button, glyphTopLeft + shift, look, colours);

    if (hasFocus() && focused_ == button) {
        drawFocusRect(painter, rect.adjusted(3, 3, -3, -3).translated(shift),
                      colours.color(QPalette::ButtonText));
    }
}

// ---- Mouse and keys ----

void MediaPlayer::pressAt(QPoint point) {
    const auto button = buttonAt(point);
    if (!button || !isEnabled() || !autoSet_.contains(*button)) {
        return;  // greyed buttons ignore the mouse
    }
    pressed_ = *button;
    pointerOverPressed_ = true;
    focused_ = *button;
    setFocus(Qt::MouseFocusReason);
    update();
}

void MediaPlayer::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressAt(event->position().toPoint());
    }
}

void MediaPlayer::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressAt(event->position().toPoint());
    }
}

void MediaPlayer::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) {
        return;
    }
    const bool over = buttonRect(*pressed_).contains(event->position().toPoint());
    if (over != pointerOverPressed_) {
        pointerOverPressed_ = over;
        update();
    }
}

void MediaPlayer::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        return;
    }
    const TMPBtnType button = *pressed_;
    const bool over = buttonRect(button).contains(event->position().toPoint());
    pressed_.reset();
    pointerOverPressed_ = false;
    update();
    if (!over) {
        return;
    }
    guarded(desktop_, [&] {
        runButton(button);
        if (lastResult_ == kMediaOk && device_) {
            applyButtonRule(button);
        }
    });
}

void MediaPlayer::clickButton(TMPBtnType button) {
    if (!isEnabled() || !autoSet_.contains(button) || !visible_.contains(button)) {
        return;
    }
    guarded(desktop_, [&] {
        runButton(button);
        if (lastResult_ == kMediaOk && device_) {
            applyButtonRule(button);
        }
    });
}

void MediaPlayer::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const bool forward = event->key() == Qt::Key_Right;
            int index = static_cast<int>(focused_);
            for (int i = index + (forward ? 1 : -1); i >= 0 && i < kButtonKindCount;
                 i += forward ? 1 : -1) {
                if (visible_.contains(kAllButtons[i])) {
                    focused_ = kAllButtons[i];
                    break;
                }
            }
            update();
            break;
        }
        case Qt::Key_Space:
            if (enabled_.contains(focused_)) {
                const TMPBtnType button = focused_;
                guarded(desktop_, [&] {
                    runButton(button);
                    if (device_) {
                        applyButtonRule(button);
                    }
                });
            }
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void MediaPlayer::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void MediaPlayer::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void MediaPlayer::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        update();
    }
    QWidget::changeEvent(event);
}

}  // namespace qir::animation
