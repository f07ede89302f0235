// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/media_player_accessible.h"

#include <QAccessibleActionInterface>
#include <QPointer>

#include "animation/media_player.h"

namespace qir::animation {
namespace {

QString buttonName(TMPBtnType button) {
    switch (button) {
        case TMPBtnType::btPlay:
            return MediaPlayer::tr("Play");
        case TMPBtnType::btPause:
            return MediaPlayer::tr("Pause");
        case TMPBtnType::btStop:
            return MediaPlayer::tr("Stop");
        case TMPBtnType::btNext:
            return MediaPlayer::tr("Go to end");
        case TMPBtnType::btPrev:
            return MediaPlayer::tr("Go to start");
        case TMPBtnType::btStep:
            return MediaPlayer::tr("Step forward");
        case TMPBtnType::btBack:
            return MediaPlayer::tr("Step back");
        case TMPBtnType::btRecord:
            return MediaPlayer::tr("Record");
        case TMPBtnType::btEject:
            return MediaPlayer::tr("Eject");
    }
    return {};
}

std::vector<TMPBtnType> visibleButtonsOf(const MediaPlayer& player) {
    std::vector<TMPBtnType> buttons;
    for (TMPBtnType button : kAllButtons) {
        if (player.visibleButtons().contains(button)) {
            buttons.push_back(button);
        }
    }
    return buttons;
}

// One painted button of the bar.
class PlayerButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    PlayerButtonAccessible(MediaPlayer* player, TMPBtnType button)
        : player_(player), button_(button) {}

    bool isValid() const override { return !player_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return player_ ? player_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return player_ ? QAccessible::queryAccessibleInterface(player_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return buttonName(button_);
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!player_) {
            return {};
        }
        const QRect local = player_->buttonRect(button_);
        return QRect(player_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!player_) {
            state.invalid = true;
            return state;
        }
        // A greyed button ignores the mouse; so does its press action.
        state.disabled = !player_->isEnabled() || !player_->autoButtons().contains(button_);
        state.focusable = true;
        state.focused = player_->hasFocus() && player_->focusedButton() == button_;
        state.invisible = !player_->isVisible();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && player_) {
            player_->clickButton(button_);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QPointer<MediaPlayer> player_;
    TMPBtnType button_;
};

}  // namespace

MediaPlayerAccessible::MediaPlayerAccessible(MediaPlayer* player)
    : QAccessibleWidget(player, QAccessible::ToolBar) {}

MediaPlayerAccessible::~MediaPlayerAccessible() {
    for (QAccessible::Id id : children_) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

MediaPlayer* MediaPlayerAccessible::player() const {
    return static_cast<MediaPlayer*>(widget());
}

int MediaPlayerAccessible::childCount() const {
    return static_cast<int>(visibleButtonsOf(*player()).size());
}

QAccessibleInterface* MediaPlayerAccessible::child(int index) const {
    const auto buttons = visibleButtonsOf(*player());
    if (index < 0 || index >= static_cast<int>(buttons.size())) {
        return nullptr;
    }
    if (children_.isEmpty()) {
        for (TMPBtnType button : kAllButtons) {
            children_.append(QAccessible::registerAccessibleInterface(
                new PlayerButtonAccessible(player(), button)));
        }
    }
    return QAccessible::accessibleInterface(
        children_.at(static_cast<int>(buttons[static_cast<std::size_t>(index)])));
}

int MediaPlayerAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int index = 0; index < childCount(); ++index) {
        if (this->child(index) == child) {
            return index;
        }
    }
    return -1;
}

QAccessibleInterface* MediaPlayerAccessible::childAt(int x, int y) const {
    for (int index = 0; index < childCount(); ++index) {
        QAccessibleInterface* button = child(index);
        if (button->rect().contains(x, y)) {
            return button;
        }
    }
    return nullptr;
}

ButtonStateAnnouncement::ButtonStateAnnouncement(MediaPlayer& player)
    : player_(player), before_(player.autoButtons().bits()) {}

ButtonStateAnnouncement::~ButtonStateAnnouncement() {
    if (!QAccessible::isActive() || !player_.announcesStates() ||
        player_.autoButtons().bits() == before_) {
        return;
    }
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(&player_);
    const auto buttons = visibleButtonsOf(player_);
    for (std::size_t index = 0; index < buttons.size(); ++index) {
        const auto bit = 1u << static_cast<unsigned>(buttons[index]);
        if (((before_ ^ player_.autoButtons().bits()) & bit) != 0) {
            QAccessible::State changed;
            changed.disabled = true;
            QAccessibleStateChangeEvent event(bar->child(static_cast<int>(index)), changed);
            QAccessible::updateAccessibility(&event);
        }
    }
}

QAccessibleInterface* mediaPlayerAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(MediaPlayer::staticMetaObject.className())) {
        if (auto* player = qobject_cast<MediaPlayer*>(object)) {
            return new MediaPlayerAccessible(player);
        }
    }
    return nullptr;
}

}  // namespace qir::animation
