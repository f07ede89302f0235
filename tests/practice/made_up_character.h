// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A made-up character to practise on, and strokes drawn along lines as a mouse draws them.

#include <vector>

#include "practice/geometry.h"
#include "practice/stroke_judge.h"

namespace qir::testing {

// In the writing box (side 1, y down): 1 a long 横 high up, 2 a 竖 through the middle,
// 3 a shorter 横 low down, 4 a 点 at the right, written down and to the right.
inline std::vector<practice::Polyline> madeUpCharacter() {
    return {{{0.2, 0.3}, {0.8, 0.3}},
            {{0.5, 0.15}, {0.5, 0.85}},
            {{0.25, 0.7}, {0.75, 0.7}},
            {{0.68, 0.44}, {0.74, 0.52}}};
}

// `line` walked from its first point to its last, a point every 0.01 of the box, moved by
// `shift`.
inline practice::DrawnStroke drawnAlong(const practice::Polyline& line,
                                        practice::Point shift = {0, 0}) {
    const double length = practice::pathLength(line);
    const auto count = static_cast<std::size_t>(length / 0.01) + 2;
    practice::DrawnStroke stroke;
    double seconds = 0;
    for (const practice::Point& point : practice::resampled(line, count)) {
        stroke.push_back({point.x + shift.x, point.y + shift.y, seconds, -1});
        seconds += 0.008;
    }
    return stroke;
}

}  // namespace qir::testing
