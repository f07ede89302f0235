// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Judges each stroke a learner draws against the character's own strokes: right, or wrong
// with the reason (place, shape, direction, order). Works in the writing box (side 1, y down)
// on the strokes' medians, the centre lines a brush follows.

#include <span>
#include <string>
#include <vector>

#include "practice/geometry.h"

namespace qir::practice {

// How far a stroke may stray: strict for the practised, gentle for children.
enum class Leniency { Strict, Normal, Gentle };

struct DrawnPoint {
    double x = 0;
    double y = 0;
    double seconds = 0;    // since the stroke began
    double pressure = -1;  // 0 to 1 from a pen; below 0 when the device has none
};
using DrawnStroke = std::vector<DrawnPoint>;

enum class Outcome {
    Right,
    WrongPlace,
    WrongShape,
    Backwards,   // the right stroke, drawn from its end to its start
    WrongOrder,  // a later stroke of the character, drawn too early
    Extra        // the character has no more strokes
};

struct Verdict {
    Outcome outcome = Outcome::WrongShape;
    int expectedStroke = 0;  // from 1
    int matchedStroke = 0;   // from 1: the later stroke a WrongOrder stroke matches, else 0
    bool right() const { return outcome == Outcome::Right; }
    bool operator==(const Verdict&) const = default;
};

// "right", "wrong place", "wrong shape", "wrong direction: drawn backwards",
// "wrong order: matches stroke 4", "wrong: the character has only 3 strokes".
std::string verdictText(const Verdict& verdict, int strokeCount);

class StrokeJudge {
  public:
    // `medians`: the character's strokes in writing order, in the writing box.
    explicit StrokeJudge(const std::vector<Polyline>& medians,
                         Leniency leniency = Leniency::Normal);

    int strokeCount() const { return static_cast<int>(strokes_.size()); }
    Leniency leniency() const { return leniency_; }

    // Judges `stroke` as the next one after `drawnSoFar`, the strokes already judged right
    // (as the learner drew them). Points that are not finite are ignored. Takes time linear
    // in the stroke's points and the character's strokes.
    Verdict judge(std::span<const DrawnStroke> drawnSoFar, const DrawnStroke& stroke) const;

  private:
    struct Reference {
        Polyline points;  // resampled
        Point centre;
        double length = 0;
        double spread = 0;  // root mean square distance from the centre
    };
    struct Fit;
    struct Misfit {
        double place = 0;
        double turn = 0;
        double shape = 0;
        double size = 0;
        bool acceptable() const;
        double score() const;
    };
    Fit fit(const Polyline& drawn, const Reference& reference, Point frame) const;
    Misfit misfit(const Fit& fit, const Reference& reference, bool framed) const;
    Point learnersFrame(std::span<const DrawnStroke> drawnSoFar) const;

    std::vector<Reference> strokes_;
    Leniency leniency_;
};

}  // namespace qir::practice
