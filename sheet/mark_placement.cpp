// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/mark_placement.h"

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "sheet/sheet_style.h"

namespace qir::sheet {
namespace {

// From the round part's centre to the point, in radii.
constexpr double kReach = 1.7;
// A full-size mark's centre lies this many radii before the start, so its point passes it.
constexpr double kRestingDistance = kReach - 0.35;
// The number fills this share of the round part's radius.
constexpr double kNumberShare = 0.75;
// Strokes are judged on a grid of this many cells across the square.
constexpr int kGrid = 72;

double dot(QPointF a, QPointF b) {
    return a.x() * b.x() + a.y() * b.y();
}
double cross(QPointF a, QPointF b) {
    return a.x() * b.y() - a.y() * b.x();
}

QPointF rotated(QPointF v, double degrees) {
    const double a = degrees * M_PI / 180;
    return {v.x() * std::cos(a) - v.y() * std::sin(a), v.x() * std::sin(a) + v.y() * std::cos(a)};
}

// The way a median sets off: towards the point `reach` along it, or straight down when it does
// not move.
QPointF headingOf(const QPolygonF& median, double reach) {
    double travelled = 0;
    for (qsizetype i = 1; i < median.size(); ++i) {
        travelled += QLineF(median[i - 1], median[i]).length();
        if (travelled >= reach || i + 1 == median.size()) {
            const QLineF heading(median.front(), median[i]);
            if (heading.length() > 0) {
                return (heading.p2() - heading.p1()) / heading.length();
            }
        }
    }
    return {0, 1};
}

// The point's two base corners, where it leaves the round part.
std::array<QPointF, 3> pointTriangle(const MarkPlace& mark) {
    const QPointF across(-mark.heading.y(), mark.heading.x());
    const double cosine = 1 / kReach;
    const double sine = std::sqrt(1 - cosine * cosine);
    return {mark.centre + mark.radius * (mark.heading * cosine + across * sine), mark.tip(),
            mark.centre + mark.radius * (mark.heading * cosine - across * sine)};
}

bool insideMark(const MarkPlace& mark, QPointF p) {
    const QPointF d = p - mark.centre;
    if (dot(d, d) <= mark.radius * mark.radius) {
        return true;
    }
    const auto [a, b, c] = pointTriangle(mark);
    const double s1 = cross(b - a, p - a);
    const double s2 = cross(c - b, p - b);
    const double s3 = cross(a - c, p - c);
    return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
}

// Points along the mark's point, from the round part to the tip.
std::array<QPointF, 4> pointSamples(const MarkPlace& mark) {
    std::array<QPointF, 4> samples;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = 1 + (kReach - 1) * static_cast<double>(i + 1) / samples.size();
        samples[i] = mark.centre + mark.heading * mark.radius * t;
    }
    return samples;
}

// Whether the two marks touch at all: their round parts, or one's point in the other's round
// part.
bool clash(const MarkPlace& a, const MarkPlace& b) {
    if (QLineF(a.centre, b.centre).length() < a.radius + b.radius) {
        return true;
    }
    const auto within = [](const MarkPlace& point, const MarkPlace& round) {
        return std::ranges::any_of(pointSamples(point), [&](QPointF p) {
            return QLineF(p, round.centre).length() < round.radius;
        });
    };
    return within(a, b) || within(b, a);
}

// Each stroke's ink on a grid over the square, and how many strokes cover each cell.
class InkGrid {
  public:
    InkGrid(const geometry::DrawnStrokes& glyph, const QRectF& square)
        : glyph_(glyph),
          square_(square),
          cell_(square.width() / kGrid),
          masks_(static_cast<std::size_t>(glyph.strokeCount())),
          areas_(static_cast<std::size_t>(glyph.strokeCount()), -1) {}

    bool inked(int stroke, int x, int y) const { return mask(stroke).constScanLine(y)[x] > 127; }
    int strokeCount() const { return static_cast<int>(masks_.size()); }

    // The strokes written so far, and on each cell how many of them lie.
    class Written {
      public:
        explicit Written(const InkGrid& ink)
            : ink_(ink),
              flags_(static_cast<std::size_t>(ink.strokeCount()), 0),
              counts_(static_cast<std::size_t>(kGrid * kGrid), 0) {}
        void add(int stroke) {
            if (stroke < 0 || stroke >= ink_.strokeCount() || has(stroke)) {
                return;
            }
            flags_[static_cast<std::size_t>(stroke)] = 1;
            for (int y = 0; y < kGrid; ++y) {
                for (int x = 0; x < kGrid; ++x) {
                    counts_[static_cast<std::size_t>(y * kGrid + x)] += ink_.inked(stroke, x, y);
                }
            }
        }
        bool has(int stroke) const { return flags_[static_cast<std::size_t>(stroke)] != 0; }
        int count(int x, int y) const { return counts_[static_cast<std::size_t>(y * kGrid + x)]; }

      private:
        const InkGrid& ink_;
        std::vector<char> flags_;
        std::vector<int> counts_;
    };

    // The share of the mark's cells that lie on written strokes other than `own`, and the
    // share of `own`'s cells the mark covers.
    struct Cover {
        double onInk = 0;
        double ofOwn = 0;
    };
    Cover cover(const MarkPlace& mark, const Written& written, int own) const {
        const double reach = mark.radius * kReach;
        const int left = std::max(0, cellOf(mark.centre.x() - reach, square_.left()));
        const int right = std::min(kGrid - 1, cellOf(mark.centre.x() + reach, square_.left()));
        const int top = std::max(0, cellOf(mark.centre.y() - reach, square_.top()));
        const int bottom = std::min(kGrid - 1, cellOf(mark.centre.y() + reach, square_.top()));
        int markCells = 0;
        int inkCells = 0;
        int ownUnder = 0;
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                const QPointF p(square_.left() + (x + 0.5) * cell_,
                                square_.top() + (y + 0.5) * cell_);
                if (!insideMark(mark, p)) {
                    continue;
                }
                ++markCells;
                const bool onOwn = inked(own, x, y);
                inkCells += written.count(x, y) - (onOwn && written.has(own) ? 1 : 0) > 0 ? 1 : 0;
                ownUnder += onOwn ? 1 : 0;
            }
        }
        Cover result;
        result.onInk = markCells > 0 ? static_cast<double>(inkCells) / markCells : 0;
        const int ownCells = ownArea(own);
        result.ofOwn = ownCells > 0 ? static_cast<double>(ownUnder) / ownCells : 0;
        return result;
    }

  private:
    int cellOf(double v, double origin) const {
        return static_cast<int>(std::floor((v - origin) / cell_));
    }
    // A stroke's ink, drawn at its first use: a step needs only the strokes up to its own.
    const QImage& mask(int stroke) const {
        QImage& mask = masks_[static_cast<std::size_t>(stroke)];
        if (mask.isNull()) {
            const QTransform toGrid =
                geometry::boxToSquare(QRectF(0, 0, kGrid, kGrid), kGrid * style::kGlyphInset);
            mask = QImage(kGrid, kGrid, QImage::Format_Grayscale8);
            mask.fill(0);
            QPainter painter(&mask);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::white);
            painter.drawPath(toGrid.map(glyph_.outlines[static_cast<std::size_t>(stroke)]));
        }
        return mask;
    }
    int ownArea(int stroke) const {
        int& area = areas_[static_cast<std::size_t>(stroke)];
        if (area < 0) {
            area = 0;
            for (int y = 0; y < kGrid; ++y) {
                for (int x = 0; x < kGrid; ++x) {
                    area += inked(stroke, x, y) ? 1 : 0;
                }
            }
        }
        return area;
    }

    const geometry::DrawnStrokes& glyph_;
    QRectF square_;
    double cell_;
    mutable std::vector<QImage> masks_;
    mutable std::vector<int> areas_;
};

struct Candidate {
    MarkPlace mark;
    double preference = 0;  // lower is nearer today's place and size
};

// Every place a stroke's mark may take, the preferred first: just before the start, then
// further out along the way back from the start, then turned aside, then smaller.
std::vector<Candidate> candidatesFor(const MarkPlace& resting, const QRectF& square) {
    std::vector<Candidate> candidates;
    const double radius = resting.radius;
    for (const double scale : {1.0, 0.8, 0.62}) {
        for (const double turn : {0.0, 25.0, -25.0, 50.0, -50.0, 75.0, -75.0, 105.0, -105.0, 135.0,
                                  -135.0, 165.0, -165.0}) {
            for (const double distance : {kRestingDistance, 1.9, 2.5, 3.2, 4.0}) {
                MarkPlace mark = resting;
                mark.radius = radius * scale;
                const double away = distance * mark.radius;
                mark.centre = resting.start + rotated(-resting.heading, turn) * away;
                if (!square.adjusted(mark.radius, mark.radius, -mark.radius, -mark.radius)
                         .contains(mark.centre)) {
                    continue;
                }
                const double preference = 0.35 * (distance - kRestingDistance) +
                                          0.6 * std::abs(turn) / 90 + 2.5 * (1 - scale);
                candidates.push_back({mark, preference});
            }
        }
    }
    std::ranges::stable_sort(candidates, {}, &Candidate::preference);
    return candidates;
}

MarkPlace restingMark(const geometry::DrawnStrokes& glyph, const QRectF& square, int stroke,
                      double diameter) {
    MarkPlace mark;
    mark.stroke = stroke;
    mark.radius = diameter / 2;
    const QPolygonF median = geometry::boxToSquare(square, square.width() * style::kGlyphInset)
                                 .map(glyph.medians[static_cast<std::size_t>(stroke)]);
    if (median.isEmpty()) {
        mark.start = square.center();
        mark.heading = {0, 1};
    } else {
        mark.start = median.front();
        mark.heading = headingOf(median, diameter);
    }
    mark.centre = mark.start - mark.heading * (kRestingDistance * mark.radius);
    return mark;
}

// The best place for one mark among `placed` ones: no clash, then as little written ink and
// own stroke under it as can be, then as near today's place as can be.
MarkPlace bestPlace(const MarkPlace& resting, const QRectF& square, const InkGrid& ink,
                    const InkGrid::Written& written, const std::vector<MarkPlace>& placed) {
    MarkPlace best = resting;
    double bestCost = std::numeric_limits<double>::infinity();
    for (const Candidate& candidate : candidatesFor(resting, square)) {
        if (candidate.preference >= bestCost) {
            break;  // costs only add to the preference: nothing later can win
        }
        double cost = candidate.preference;
        for (const MarkPlace& other : placed) {
            cost += clash(candidate.mark, other) ? 1000 : 0;
        }
        if (cost >= bestCost) {
            continue;
        }
        const InkGrid::Cover cover = ink.cover(candidate.mark, written, resting.stroke);
        cost += 6 * cover.onInk + 12 * std::max(0.0, cover.ofOwn - 0.25);
        if (cost < bestCost) {
            bestCost = cost;
            best = candidate.mark;
        }
    }
    return best;
}

}  // namespace

bool MarkPlace::leader() const {
    return QLineF(tip(), start).length() > 0.5 * radius;
}

QPointF MarkPlace::tip() const {
    return centre + heading * (kReach * radius);
}

QPainterPath markShape(const MarkPlace& mark) {
    // From the tip along one side of the point, round the far side of the round part, and
    // back along the other side: one outline, so no fill rule can leave a gap in it.
    const double heading = std::atan2(-mark.heading.y(), mark.heading.x()) * 180 / M_PI;
    const double half = std::acos(1 / kReach) * 180 / M_PI;
    const QRectF round(mark.centre - QPointF(mark.radius, mark.radius),
                       QSizeF(2 * mark.radius, 2 * mark.radius));
    const double side = (heading + half) * M_PI / 180;
    QPainterPath outline;
    outline.moveTo(mark.tip());
    outline.lineTo(mark.centre + mark.radius * QPointF(std::cos(side), -std::sin(side)));
    outline.arcTo(round, heading + half, 360 - 2 * half);
    outline.closeSubpath();
    return outline;
}

std::vector<MarkPlace> placeOverviewMarks(const geometry::DrawnStrokes& glyph, const QRectF& square,
                                          double diameter) {
    const InkGrid ink(glyph, square);
    InkGrid::Written allWritten(ink);
    for (int stroke = 0; stroke < glyph.strokeCount(); ++stroke) {
        allWritten.add(stroke);
    }
    std::vector<MarkPlace> placed;
    for (int stroke = 0; stroke < glyph.strokeCount(); ++stroke) {
        placed.push_back(bestPlace(restingMark(glyph, square, stroke, diameter), square, ink,
                                   allWritten, placed));
    }
    return placed;
}

MarkPlace placeStepMark(const geometry::DrawnStrokes& glyph, const QRectF& square, int stroke,
                        double diameter) {
    const InkGrid ink(glyph, square);
    InkGrid::Written written(ink);
    for (int before = 0; before < stroke; ++before) {
        written.add(before);
    }
    return bestPlace(restingMark(glyph, square, stroke, diameter), square, ink, written, {});
}

std::vector<MarkPlace> placeStepMarks(const geometry::DrawnStrokes& glyph, const QRectF& square,
                                      double diameter) {
    const InkGrid ink(glyph, square);
    InkGrid::Written written(ink);
    std::vector<MarkPlace> marks;
    for (int stroke = 0; stroke < glyph.strokeCount(); ++stroke) {
        marks.push_back(
            bestPlace(restingMark(glyph, square, stroke, diameter), square, ink, written, {}));
        written.add(stroke);
    }
    return marks;
}

MarkPlace plainMark(const geometry::DrawnStrokes& glyph, const QRectF& square, int stroke,
                    double diameter) {
    MarkPlace mark = restingMark(glyph, square, stroke, diameter);
    mark.centre.setX(
        std::clamp(mark.centre.x(), square.left() + mark.radius, square.right() - mark.radius));
    mark.centre.setY(
        std::clamp(mark.centre.y(), square.top() + mark.radius, square.bottom() - mark.radius));
    return mark;
}

bool coversNumber(const MarkPlace& a, const MarkPlace& b) {
    const double number = kNumberShare * b.radius;
    if (QLineF(a.centre, b.centre).length() < a.radius + number) {
        return true;
    }
    return std::ranges::any_of(pointSamples(a),
                               [&](QPointF p) { return QLineF(p, b.centre).length() < number; });
}

namespace {

MarkFaults faultsOn(const InkGrid& ink, const std::vector<MarkPlace>& marks,
                    const InkGrid::Written& written) {
    MarkFaults faults;
    for (const MarkPlace& mark : marks) {
        const bool covered = std::ranges::any_of(marks, [&](const MarkPlace& other) {
            return &other != &mark && coversNumber(other, mark);
        });
        faults.coveredNumbers += covered ? 1 : 0;
        const InkGrid::Cover cover = ink.cover(mark, written, mark.stroke);
        faults.onWrittenInk += cover.onInk > 0.25 ? 1 : 0;
        faults.hidingOwnStroke += cover.ofOwn > 0.5 ? 1 : 0;
    }
    return faults;
}

}  // namespace

MarkFaults markFaults(const geometry::DrawnStrokes& glyph, const QRectF& square,
                      const std::vector<MarkPlace>& marks, const std::vector<int>& written) {
    const InkGrid ink(glyph, square);
    InkGrid::Written isWritten(ink);
    for (const int stroke : written) {
        isWritten.add(stroke);
    }
    return faultsOn(ink, marks, isWritten);
}

MarkFaults stepFaults(const geometry::DrawnStrokes& glyph, const QRectF& square,
                      const std::vector<MarkPlace>& marks) {
    const InkGrid ink(glyph, square);
    InkGrid::Written written(ink);
    MarkFaults faults;
    for (int step = 0; step < static_cast<int>(marks.size()) && step < ink.strokeCount(); ++step) {
        const MarkFaults one = faultsOn(ink, {marks[static_cast<std::size_t>(step)]}, written);
        faults.onWrittenInk += one.onWrittenInk;
        faults.hidingOwnStroke += one.hidingOwnStroke;
        written.add(step);
    }
    return faults;
}

}  // namespace qir::sheet
