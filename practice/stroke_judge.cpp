// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/stroke_judge.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

namespace qir::practice {
namespace {

// Points a stroke is compared at. Enough for a 横折折折钩's corners.
constexpr std::size_t kSamples = 32;
// Coordinates beyond this many boxes away are as wrong as any; clamping keeps the sums finite.
constexpr double kFarOutside = 4;
// More points than this are thinned before judging.
constexpr std::size_t kMostPoints = 2048;
// A drawn stroke shorter than this is a tap, not a stroke (a 点 is ten times as long).
constexpr double kShortestStroke = 0.006;

struct Tolerance {
    double place;          // centre to centre, across or down, in boxes
    double framedPlace;    // the same in the learner's own frame, once one is known
    double shapeRelative;  // remaining distance after fitting size and slant, per spread
    double shapeAbsolute;  // ... and at least this, in boxes, for the short strokes
    double turnLong;       // slant, in degrees, for a stroke a fifth of the box long or more
    double turnShort;      // ... and for a 点
    double sizeRatio;      // the drawn stroke's spread over the stroke's, and its inverse
    double orderMargin;    // another stroke must fit this much better to be the one drawn
};

Tolerance toleranceOf(Leniency leniency) {
    switch (leniency) {
        case Leniency::Strict:
            return {0.10, 0.05, 0.14, 0.013, 11, 24, 1.28, 0.8};
        case Leniency::Gentle:
            return {0.15, 0.10, 0.28, 0.025, 22, 40, 1.7, 0.8};
        case Leniency::Normal:
            break;
    }
    return {0.112, 0.07, 0.18, 0.016, 11, 26, 1.27, 0.8};
}

// How much worse each further stroke must fit to be taken for the one drawn too early.
constexpr double kLaterPenalty = 0.25;

// Spreads below this are treated as if this much larger, so a 点's size need not be exact.
constexpr double kSpreadSlack = 0.008;

Point clamped(Point point) {
    return {std::clamp(point.x, -kFarOutside, 1 + kFarOutside),
            std::clamp(point.y, -kFarOutside, 1 + kFarOutside)};
}

// The finite points of `stroke`, every so many of them when it has more than a judge needs
// (a pen sampled at 1 kHz gives a thousand a second), its last point always kept.
Polyline drawnLine(const DrawnStroke& stroke) {
    const std::size_t step = stroke.size() / kMostPoints + 1;
    Polyline line;
    line.reserve(std::min(stroke.size(), kMostPoints + 1));
    for (std::size_t i = 0; i < stroke.size(); ++i) {
        const DrawnPoint& point = stroke[i];
        if ((i % step == 0 || i + 1 == stroke.size()) && std::isfinite(point.x) &&
            std::isfinite(point.y)) {
            line.push_back(clamped({point.x, point.y}));
        }
    }
    return line;
}

}  // namespace

struct StrokeJudge::Fit {
    double place = 0;     // centre to centre, the larger of across and down
    double residual = 0;  // root mean square distance after the best size and slant
    double turn = 0;      // the slant that fits best, in degrees
    double spread = 0;    // root mean square distance from the centre
};

StrokeJudge::StrokeJudge(const std::vector<Polyline>& medians, Leniency leniency)
    : leniency_(leniency) {
    strokes_.reserve(medians.size());
    for (const Polyline& median : medians) {
        Reference reference;
        reference.points = resampled(median, kSamples);
        reference.centre = centroid(reference.points);
        reference.length = pathLength(median);
        double squares = 0;
        for (const Point& point : reference.points) {
            const Point offset = point - reference.centre;
            squares += offset.x * offset.x + offset.y * offset.y;
        }
        reference.spread = std::sqrt(squares / kSamples);
        strokes_.push_back(std::move(reference));
    }
}

// The drawn points against the reference's, point for point: first as they lie, then after
// the size and slant (a similarity about the centres) that brings them closest.
StrokeJudge::Fit StrokeJudge::fit(const Polyline& drawn, const Reference& reference,
                                  Point frame) const {
    Fit result;
    const Point centre = centroid(drawn);
    const Point placed = centre - frame;
    result.place =
        std::max(std::abs(placed.x - reference.centre.x), std::abs(placed.y - reference.centre.y));
    std::complex<double> cross = 0;
    double drawnSquares = 0;
    double referenceSquares = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const Point a = drawn[i] - centre;
        const Point b = reference.points[i] - reference.centre;
        cross += std::conj(std::complex<double>(a.x, a.y)) * std::complex<double>(b.x, b.y);
        drawnSquares += a.x * a.x + a.y * a.y;
        referenceSquares += b.x * b.x + b.y * b.y;
    }
    // The least squares of |b - z a| over the complex factor z: z = sum(conj(a) b) / sum(|a|^2).
    const double remaining =
        drawnSquares > 0 ? referenceSquares - std::norm(cross) / drawnSquares : referenceSquares;
    result.residual = std::sqrt(std::max(remaining, 0.0) / static_cast<double>(drawn.size()));
    result.turn = drawnSquares > 0 ? std::abs(std::arg(cross)) * 180 / std::numbers::pi : 0;
    result.spread = std::sqrt(drawnSquares / static_cast<double>(drawn.size()));
    return result;
}

// How far the fit lies from the stroke on each count, 1 at the tolerance's edge.
StrokeJudge::Misfit StrokeJudge::misfit(const Fit& fit, const Reference& reference,
                                        bool framed) const {
    const Tolerance tolerance = toleranceOf(leniency_);
    const double place = framed ? tolerance.framedPlace : tolerance.place;
    const double longness = std::clamp((reference.length - 0.05) / 0.15, 0.0, 1.0);
    const double turn = tolerance.turnShort + (tolerance.turnLong - tolerance.turnShort) * longness;
    const double shape =
        std::max(tolerance.shapeRelative * reference.spread, tolerance.shapeAbsolute);
    const double size = std::log((fit.spread + kSpreadSlack) / (reference.spread + kSpreadSlack));
    return {fit.place / place, fit.turn / turn, fit.residual / shape,
            std::abs(size) / std::log(tolerance.sizeRatio)};
}

bool StrokeJudge::Misfit::acceptable() const {
    return place <= 1 && turn <= 1 && shape <= 1 && size <= 1;
}

double StrokeJudge::Misfit::score() const {
    return place * place + turn * turn + shape * shape + size * size;
}

// Where the learner writes the character: how far, on average, the strokes drawn so far lie
// from the character's own. A stroke is placed against the others the learner drew.
Point StrokeJudge::learnersFrame(std::span<const DrawnStroke> drawnSoFar) const {
    Point sum;
    int counted = 0;
    for (std::size_t index = 0; index < drawnSoFar.size() && index < strokes_.size(); ++index) {
        const Polyline line = drawnLine(drawnSoFar[index]);
        if (line.empty()) {
            continue;
        }
        sum = sum + (centroid(resampled(line, kSamples)) - strokes_[index].centre);
        ++counted;
    }
    return counted == 0 ? sum : sum * (1.0 / counted);
}

Verdict StrokeJudge::judge(std::span<const DrawnStroke> drawnSoFar,
                           const DrawnStroke& stroke) const {
    const int expected = static_cast<int>(drawnSoFar.size());
    Verdict verdict;
    verdict.expectedStroke = expected + 1;
    if (expected >= strokeCount()) {
        verdict.outcome = Outcome::Extra;
        return verdict;
    }
    const Polyline line = drawnLine(stroke);
    const double length = pathLength(line);
    if (line.empty() || length < kShortestStroke) {
        verdict.outcome = Outcome::WrongShape;
        return verdict;
    }
    const Polyline drawn = resampled(line, kSamples);
    const Point frame = learnersFrame(drawnSoFar);
    const bool framed = !drawnSoFar.empty();
    const auto misfitOf = [&](const Polyline& points, int index) {
        const Reference& reference = strokes_[static_cast<std::size_t>(index)];
        return misfit(fit(points, reference, frame), reference, framed);
    };
    const Misfit own = misfitOf(drawn, expected);

    // Another stroke that the drawing fits clearly better: a later one is drawn too early, an
    // earlier one is drawn again.
    const double margin = toleranceOf(leniency_).orderMargin;
    // Of two later strokes that fit alike, the sooner is the likelier slip.
    int closest = -1;
    double closestScore = own.score() * margin;
    for (int index = 0; index < strokeCount(); ++index) {
        if (index == expected) {
            continue;
        }
        const Misfit other = misfitOf(drawn, index);
        const double later = std::max(index - expected - 1, 0);
        const double score = other.score() * (1 + kLaterPenalty * later);
        if (score < closestScore && other.acceptable()) {
            closest = index;
            closestScore = score;
        }
    }
    if (closest > expected) {
        verdict.outcome = Outcome::WrongOrder;
        verdict.matchedStroke = closest + 1;
        return verdict;
    }
    if (closest >= 0) {
        verdict.outcome = Outcome::WrongPlace;
        return verdict;
    }
    if (own.acceptable()) {
        verdict.outcome = Outcome::Right;
        return verdict;
    }
    if (misfitOf(reversed(drawn), expected).acceptable()) {
        verdict.outcome = Outcome::Backwards;
    } else {
        verdict.outcome = own.place > 1 ? Outcome::WrongPlace : Outcome::WrongShape;
    }
    return verdict;
}

std::string verdictText(const Verdict& verdict, int strokeCount) {
    switch (verdict.outcome) {
        case Outcome::Right:
            return "right";
        case Outcome::WrongPlace:
            return "wrong place";
        case Outcome::WrongShape:
            return "wrong shape";
        case Outcome::Backwards:
            return "wrong direction: drawn backwards";
        case Outcome::WrongOrder:
            return "wrong order: matches stroke " + std::to_string(verdict.matchedStroke);
        case Outcome::Extra:
            break;
    }
    return "wrong: the character has only " + std::to_string(strokeCount) +
           (strokeCount == 1 ? " stroke" : " strokes");
}

}  // namespace qir::practice
