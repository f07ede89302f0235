// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/first_finger.h"

namespace qir {

std::optional<FirstFinger::Move> FirstFinger::follow(const QTouchEvent& event) {
    if (event.type() == QEvent::TouchBegin) {
        if (event.points().isEmpty()) {
            return std::nullopt;
        }
        finger_ = event.points().front().id();
        return Move{Step::Begin, event.points().front().position()};
    }
    if (finger_ < 0) {
        return std::nullopt;
    }
    std::optional<Move> move;
    for (const QEventPoint& point : event.points()) {
        if (point.id() != finger_) {
            continue;
        }
        const bool lifted =
            event.type() == QEvent::TouchEnd || point.state() == QEventPoint::State::Released;
        move = Move{lifted ? Step::Finish : Step::Extend, point.position()};
    }
    if (event.type() == QEvent::TouchEnd || (move && move->step == Step::Finish)) {
        finger_ = -1;
    }
    return move;
}

}  // namespace qir
