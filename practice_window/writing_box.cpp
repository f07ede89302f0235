// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice_window/writing_box.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

#include "desktop/writing_guides.h"
#include "geometry/drawing.h"
#include "practice/show_me_pace.h"

namespace qir::practice_window {
namespace {

constexpr int kSmallestBox = 360;  // the drawn square, inside a pixel of margin on each side
constexpr int kMargin = 1;
constexpr int kFadeStepMs = 40;
constexpr double kFadeStep = 0.04;  // a refused stroke fades in about a second
constexpr int kFlashMs = 350;
constexpr int kShowMeFrameMs = 16;  // the growing stroke is painted at the screen's pace
// The pen that reveals a growing stroke's outline along its median: wider than any stroke,
// its front square across the median where the pen is.
constexpr double kRevealWidth = 0.2;
constexpr double kRevealLeadIn = 0.08;  // the outline begins a little before its median
constexpr double kInkWidth = 0.022;     // of the box, at a mouse's or a medium pen's pressure
constexpr double kWidestInk = 1.6;      // the ink at full pressure, in kInkWidths (0.4 at none)

const QColor kGuideColour(220, 120, 120);
const QColor kTraceColour(215, 215, 215);
const QColor kNextColour(235, 235, 235);
const QColor kHintColour(40, 110, 220);
const QColor kMissedColour(200, 40, 40);

}  // namespace

WritingBox::WritingBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_AcceptTouchEvents);
    setMinimumSize(kSmallestBox + 2 * kMargin, kSmallestBox + 2 * kMargin);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::CrossCursor);
    fade_.setInterval(kFadeStepMs);
    connect(&fade_, &QTimer::timeout, this, [this] {
        refusedOpacity_ -= kFadeStep;
        if (refusedOpacity_ <= 0) {
            refused_.clear();
            fade_.stop();
        }
        update();
    });
    flash_.setInterval(kFlashMs);
    connect(&flash_, &QTimer::timeout, this, [this] {
        hintLit_ = !hintLit_;
        update();
    });
    showMe_.setInterval(kShowMeFrameMs);
    connect(&showMe_, &QTimer::timeout, this, [this] {
        if (practice::showMeAt(medianLengths_, showMeClock_.nsecsElapsed() / 1e9).finished) {
            showMe_.stop();
        }
        update();
    });
}

QSize WritingBox::sizeHint() const {
    return {kSmallestBox + kSmallestBox / 3, kSmallestBox + kSmallestBox / 3};
}

void WritingBox::setCharacter(std::vector<QPainterPath> outlines,
                              const std::vector<practice::Polyline>& medians) {
    outlines_ = std::move(outlines);
    medians_.clear();
    medianLengths_.clear();
    for (const practice::Polyline& median : medians) {
        QPolygonF line;
        for (const practice::Point& point : median) {
            line << QPointF(point.x, point.y);
        }
        medianLengths_.push_back(geometry::polylineLength(line));
        medians_.push_back(std::move(line));
    }
    showMe_.stop();
    marked_.clear();
    done_ = 0;
    ink_.clear();
    drawing_ = false;
    refused_.clear();
    hideHint();
    update();
}

void WritingBox::setMode(practice::PracticeMode mode) {
    mode_ = mode;
    update();
}

void WritingBox::setGuides(Guides guides) {
    guides_ = guides;
    update();
}

void WritingBox::setStrokesDone(int count) {
    done_ = count;
    // A right stroke ends what was said about the wrong one before it.
    refused_.clear();
    fade_.stop();
    update();
}

void WritingBox::showRefused(const practice::DrawnStroke& stroke, const QString& reason) {
    refused_ = stroke;
    reason_ = reason;
    refusedOpacity_ = 1.6;  // stays whole for a moment before it fades
    fade_.start();
    update();
}

void WritingBox::showHint(int stroke, practice::Point start, practice::Point towards) {
    hint_ = stroke;
    hintStart_ = start;
    hintTowards_ = towards;
    hintLit_ = true;
    flash_.start();
    update();
}

void WritingBox::hideHint() {
    hint_ = -1;
    flash_.stop();
    update();
}

void WritingBox::markMistakes(std::vector<int> mistakes) {
    marked_ = std::move(mistakes);
    update();
}

void WritingBox::showMe() {
    showMeClock_.start();
    showMe_.start();
    update();
}

QRectF WritingBox::boxRect() const {
    const double side = std::min(width(), height()) - 2.0 * kMargin;
    return {(width() - side) / 2, (height() - side) / 2, side, side};
}

practice::DrawnPoint WritingBox::toBox(QPointF position, double pressure) const {
    const QRectF box = boxRect();
    const double seconds = inkClock_.isValid() ? inkClock_.nsecsElapsed() / 1e9 : 0;
    return {(position.x() - box.left()) / box.width(), (position.y() - box.top()) / box.height(),
            seconds, pressure};
}

void WritingBox::begin(QPointF position, double pressure) {
    inkClock_.start();
    drawing_ = true;
    ink_ = {toBox(position, pressure)};
    update();
}

void WritingBox::extend(QPointF position, double pressure) {
    if (!drawing_) {
        return;
    }
    ink_.push_back(toBox(position, pressure));
    // Only the new piece of ink is painted again: a large box repaints in a fraction of the
    // time, so the ink keeps up with the pointer.
    const QRectF box = boxRect();
    const practice::DrawnPoint& from = ink_[ink_.size() - 2];
    const QPointF start(box.left() + from.x * box.width(), box.top() + from.y * box.height());
    const double reach = box.width() * kInkWidth * kWidestInk / 2 + 2;
    update(QRectF(start, position)
               .normalized()
               .adjusted(-reach, -reach, reach, reach)
               .toAlignedRect());
}

void WritingBox::finish(QPointF position, double pressure) {
    if (!drawing_) {
        return;
    }
    ink_.push_back(toBox(position, pressure));
    drawing_ = false;
    practice::DrawnStroke stroke = std::move(ink_);
    ink_.clear();
    update();
    emit strokeDrawn(stroke);
}

bool WritingBox::event(QEvent* event) {
    return input_.deliver(*event, *this) || QWidget::event(event);
}

// The character's strokes in the box's own units: while Show me writes, the strokes written so
// far and the growing one; otherwise the strokes done, the hint and what the mode shows.
void WritingBox::paintCharacter(QPainter& painter) {
    const int count = static_cast<int>(outlines_.size());
    const auto inkOf = [&](int i) {
        const bool missed = static_cast<std::size_t>(i) < marked_.size() &&
                            marked_[static_cast<std::size_t>(i)] > 0;
        return missed ? kMissedColour : QColor(Qt::black);
    };
    if (showMe_.isActive()) {
        const practice::ShowMeMoment moment =
            practice::showMeAt(medianLengths_, showMeClock_.nsecsElapsed() / 1e9);
        for (int i = 0; i < std::min(moment.completedStrokes, count); ++i) {
            painter.fillPath(outlines_[static_cast<std::size_t>(i)], inkOf(i));
        }
        const auto active = static_cast<std::size_t>(moment.activeStroke);
        if (moment.activeStroke >= 0 && active < outlines_.size() && active < medians_.size() &&
            !medians_[active].isEmpty()) {
            QPolygonF written = geometry::polylinePrefix(medians_[active], moment.travelled);
            // Reach back before the median's start, so the outline's own start shows at once.
            if (medians_[active].size() > 1) {
                const QPointF way = medians_[active][1] - medians_[active][0];
                const double length = std::hypot(way.x(), way.y());
                if (length > 0) {
                    written.prepend(medians_[active][0] - way * (kRevealLeadIn / length));
                }
            }
            QPainterPath pen;
            pen.addPolygon(written);
            QPainterPathStroker reveal;
            reveal.setWidth(kRevealWidth);
            reveal.setCapStyle(Qt::FlatCap);
            reveal.setJoinStyle(Qt::RoundJoin);
            painter.fillPath(outlines_[active].intersected(reveal.createStroke(pen)),
                             inkOf(moment.activeStroke));
        }
        return;
    }
    for (int i = 0; i < count; ++i) {
        const QPainterPath& outline = outlines_[static_cast<std::size_t>(i)];
        if (i < done_) {
            painter.fillPath(outline, inkOf(i));
        } else if (i == hint_ && hintLit_) {
            painter.fillPath(outline, kHintColour);
        } else if (mode_ == practice::PracticeMode::Trace ||
                   (mode_ == practice::PracticeMode::StrokeByStroke && i == done_)) {
            painter.fillPath(outline,
                             mode_ == practice::PracticeMode::Trace ? kTraceColour : kNextColour);
        }
    }
}

void WritingBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = boxRect();
    paintWritingGuides(painter, box, kGuideColour, guides_ == Guides::Mi);

    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width(), box.height());
    painter.setPen(Qt::NoPen);
    paintCharacter(painter);
    painter.restore();

    const auto at = [&](double x, double y) {
        return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
    };
    const auto drawInk = [&](const practice::DrawnStroke& stroke, const QColor& colour) {
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            const double pressure = stroke[i].pressure < 0 ? 0.5 : stroke[i].pressure;
            QPen pen(colour, box.width() * kInkWidth * (0.4 + (kWidestInk - 0.4) * pressure),
                     Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            painter.setPen(pen);
            painter.drawLine(at(stroke[i - 1].x, stroke[i - 1].y), at(stroke[i].x, stroke[i].y));
        }
    };
    if (!refused_.empty()) {
        // Faded towards the paper rather than made transparent: the ink's overlapping pieces
        // would show as darker beads.
        const double shown = std::clamp(refusedOpacity_, 0.0, 1.0);
        const auto towardsWhite = [shown](int channel) {
            return static_cast<int>(std::lround(255 - (255 - channel) * shown));
        };
        const QColor red(towardsWhite(210), towardsWhite(30), towardsWhite(30));
        drawInk(refused_, red);
        painter.setPen(red);
        QFont font = painter.font();
        font.setPixelSize(std::max(12, static_cast<int>(box.height() / 22)));
        painter.setFont(font);
        painter.drawText(box.adjusted(8, 4, -8, -4), Qt::AlignBottom | Qt::AlignHCenter, reason_);
    }
    drawInk(ink_, QColor(20, 20, 20));
    if (hint_ >= 0) {
        painter.setPen(QPen(kHintColour, 2));
        painter.setBrush(kHintColour);
        const QPointF start = at(hintStart_.x, hintStart_.y);
        painter.drawEllipse(start, box.width() * 0.018, box.width() * 0.018);
        const QPointF towards = at(hintTowards_.x, hintTowards_.y);
        painter.drawLine(start, towards);
    }
}

}  // namespace qir::practice_window
