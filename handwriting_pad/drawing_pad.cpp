// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting_pad/drawing_pad.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "desktop/writing_guides.h"

namespace qir::handwriting_pad {
namespace {

const QColor kGuideColour(200, 90, 90);
constexpr double kInkWidth = 0.025;  // of the box
constexpr int kMargin = 4;

}  // namespace

DrawingPad::DrawingPad(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_AcceptTouchEvents);
    setMinimumSize(200, 200);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSize DrawingPad::sizeHint() const {
    return {300, 300};
}

void DrawingPad::setInk(handwriting::Ink ink) {
    ink_ = std::move(ink);
    update();
}

QRectF DrawingPad::boxRect() const {
    const double side = std::max(std::min(width(), height()) - 2 * kMargin, 1);
    return {(width() - side) / 2, (height() - side) / 2, side, side};
}

handwriting::Point DrawingPad::toBox(QPointF position) const {
    const QRectF box = boxRect();
    return {(position.x() - box.left()) / box.width(), (position.y() - box.top()) / box.height()};
}

void DrawingPad::begin(QPointF position, double /*pressure*/) {
    down_ = true;
    drawing_ = {toBox(position)};
    update();
}

void DrawingPad::extend(QPointF position, double /*pressure*/) {
    if (down_) {
        drawing_.push_back(toBox(position));
        update();
    }
}

void DrawingPad::finish(QPointF position, double /*pressure*/) {
    if (!down_) {
        return;
    }
    drawing_.push_back(toBox(position));
    down_ = false;
    handwriting::Polyline stroke = std::move(drawing_);
    drawing_.clear();
    update();
    emit strokeDrawn(stroke);
}

bool DrawingPad::event(QEvent* event) {
    return input_.deliver(*event, *this) || QWidget::event(event);
}

void DrawingPad::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = boxRect();
    paintWritingGuides(painter, box, kGuideColour, false);
    painter.setClipRect(box);
    QPen ink(Qt::black, box.width() * kInkWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(ink);
    const auto draw = [&](const handwriting::Polyline& stroke) {
        if (stroke.empty()) {
            return;
        }
        QPainterPath path(QPointF(box.left() + stroke.front().x * box.width(),
                                  box.top() + stroke.front().y * box.height()));
        for (const handwriting::Point& point : stroke) {
            path.lineTo(box.left() + point.x * box.width(), box.top() + point.y * box.height());
        }
        painter.drawPath(path);
    };
    for (const handwriting::Polyline& stroke : ink_) {
        draw(stroke);
    }
    draw(drawing_);
}

}  // namespace qir::handwriting_pad
