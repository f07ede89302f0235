// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/stroke_input.h"

#include <QMouseEvent>
#include <QTabletEvent>
#include <QTouchEvent>

namespace qir {
namespace {

constexpr double kNoPressure = -1;

}  // namespace

bool StrokeInput::handles(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

std::optional<StrokeInput::Move> StrokeInput::follow(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: {
            const auto& mouse = static_cast<const QMouseEvent&>(event);
            const bool moving = event.type() == QEvent::MouseMove;
            if (penDown_ || (!moving && mouse.button() != Qt::LeftButton)) {
                return std::nullopt;
            }
            const Step step = event.type() == QEvent::MouseButtonPress ? Step::Begin
                              : moving                                 ? Step::Extend
                                                                       : Step::Finish;
            return Move{step, mouse.position(), kNoPressure};
        }
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease: {
            const auto& pen = static_cast<const QTabletEvent&>(event);
            Step step = Step::Extend;
            if (event.type() == QEvent::TabletPress) {
                penDown_ = true;
                step = Step::Begin;
            } else if (event.type() == QEvent::TabletRelease) {
                penDown_ = false;
                step = Step::Finish;
            }
            return Move{step, pen.position(), pen.pressure()};
        }
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            break;
        default:
            return std::nullopt;
    }
    const auto& touch = static_cast<const QTouchEvent&>(event);
    if (event.type() == QEvent::TouchBegin) {
        if (touch.points().isEmpty()) {
            return std::nullopt;
        }
        finger_ = touch.points().front().id();
        return Move{Step::Begin, touch.points().front().position(), kNoPressure};
    }
    if (finger_ < 0) {
        return std::nullopt;
    }
    std::optional<Move> move;
    for (const QEventPoint& point : touch.points()) {
        if (point.id() != finger_) {
            continue;
        }
        const bool lifted =
            event.type() == QEvent::TouchEnd || point.state() == QEventPoint::State::Released;
        move = Move{lifted ? Step::Finish : Step::Extend, point.position(), kNoPressure};
    }
    if (event.type() == QEvent::TouchEnd || (move && move->step == Step::Finish)) {
        finger_ = -1;
    }
    return move;
}

bool StrokeInput::deliver(QEvent& event, StrokeReceiver& receiver) {
    if (!handles(event)) {
        return false;
    }
    if (const std::optional<Move> move = follow(event)) {
        switch (move->step) {
            case Step::Begin:
                receiver.begin(move->position, move->pressure);
                break;
            case Step::Extend:
                receiver.extend(move->position, move->pressure);
                break;
            case Step::Finish:
                receiver.finish(move->position, move->pressure);
                break;
        }
    }
    event.accept();
    return true;
}

}  // namespace qir
