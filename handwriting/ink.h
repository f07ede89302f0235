// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The strokes drawn on the pad, as the recognisers read them: in the writing box (side 1, y
// down), each stroke a polyline, in the order drawn. The same box and points as the judge's.

#include <span>
#include <vector>

#include "practice/geometry.h"

namespace qir::handwriting {

using practice::Point;
using practice::Polyline;
using Ink = std::vector<Polyline>;

// More strokes than any character of the store has, with room for a learner's extra ones; the
// recognisers answer nothing beyond it rather than work on a scribble.
inline constexpr std::size_t kMostStrokes = 64;
// Points kept of one stroke: enough for a slow hand on a pen at 200 Hz for several seconds.
inline constexpr std::size_t kMostPointsPerStroke = 4096;

// `stroke` without its points that are not finite, thinned evenly to kMostPointsPerStroke and
// with each coordinate limited to a few boxes around the pad, so that a stroke far outside
// stays a stroke without swamping the others' scale. Empty when no point is finite.
Polyline cleaned(const Polyline& stroke);

// The weighted centre and spread of a set of strokes: each stroke counts by its length (a
// dot by a small least length), so a joined or a missing short stroke moves them little.
struct Frame {
    Point centre;
    double spread = 1;  // root mean square distance from the centre; never 0
};

}  // namespace qir::handwriting
