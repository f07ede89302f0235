// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The player bar as assistive technology sees it: a tool bar of seven buttons, each with its
// name, its state (greyed buttons are unavailable, the focused one focused) and a press action
// that does what a click does. The bar paints its buttons itself, so they have no widgets of
// their own.

#include <QAccessibleWidget>
#include <QList>
#include <cstdint>

namespace qir::animation {

class MediaPlayer;

class MediaPlayerAccessible : public QAccessibleWidget {
  public:
    explicit MediaPlayerAccessible(MediaPlayer* player);
    ~MediaPlayerAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

  private:
    MediaPlayer* player() const;
    // The buttons' interfaces, made at first use and kept in Qt's accessibility cache.
    mutable QList<QAccessible::Id> children_;
};

// Tells assistive technology which buttons turned greyed or available while it lives: made
// before the player changes its auto set, it compares when it goes.
class ButtonStateAnnouncement {
  public:
    explicit ButtonStateAnnouncement(MediaPlayer& player);
    ~ButtonStateAnnouncement();
    ButtonStateAnnouncement(const ButtonStateAnnouncement&) = delete;
    ButtonStateAnnouncement& operator=(const ButtonStateAnnouncement&) = delete;

  private:
    MediaPlayer& player_;
    std::uint32_t before_;
};

// The factory Qt asks for the bar's interface.
QAccessibleInterface* mediaPlayerAccessibleFactory(const QString& className, QObject* object);

}  // namespace qir::animation
