// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Mouse, pen and touch on a writing surface, turned into one stroke at a time. The pen's own
// events carry its pressure; the mouse events Qt makes of them are ignored until it lifts, so
// the stroke ends where the pen did. One finger draws: the first one down, until it lifts,
// whatever other fingers do; they neither draw nor drag the stroke to themselves.

#include <QEvent>
#include <QPointF>
#include <optional>

namespace qir {

// What a writing surface does with each step of a stroke; `pressure` is 0 to 1 for a pen and
// -1 for a mouse or a finger.
class StrokeReceiver {
  public:
    virtual void begin(QPointF position, double pressure) = 0;
    virtual void extend(QPointF position, double pressure) = 0;
    virtual void finish(QPointF position, double pressure) = 0;

  protected:
    ~StrokeReceiver() = default;
};

class StrokeInput {
  public:
    enum class Step { Begin, Extend, Finish };
    struct Move {
        Step step;
        QPointF position;
        double pressure;  // 0 to 1 for a pen; -1 for a mouse or a finger
    };

    // The mouse, tablet and touch events this follows; a widget hands these on and accepts them.
    static bool handles(const QEvent& event);
    // What `event` does to the stroke: nothing, or one step of it.
    std::optional<Move> follow(const QEvent& event);
    // Hands the step `event` makes to `receiver` and accepts the event; false, leaving it to
    // the widget, for an event this does not follow.
    bool deliver(QEvent& event, StrokeReceiver& receiver);

  private:
    bool penDown_ = false;
    int finger_ = -1;  // the touch point that draws, while it is down
};

}  // namespace qir
