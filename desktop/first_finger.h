// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One finger draws on a writing surface: the first one down. Its stroke ends where it lifts,
// whatever other fingers still do; they neither draw nor drag the stroke to themselves.

#include <QPointF>
#include <QTouchEvent>
#include <optional>

namespace qir {

class FirstFinger {
  public:
    enum class Step { Begin, Extend, Finish };
    struct Move {
        Step step;
        QPointF position;
    };

    // What `event` does to the stroke: nothing, or one step of it.
    std::optional<Move> follow(const QTouchEvent& event);

  private:
    int finger_ = -1;  // the touch point that draws, while it is down
};

}  // namespace qir
