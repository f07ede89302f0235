// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Show me" writes the character at the pace of the store's clips: a pen travels along each
// stroke's median at the clips' speed (80 units of the 1024-unit glyph box a frame, 15 frames a
// second), a stroke takes between 4 and 15 frames, and the pen rests 3 frames before the first
// stroke and between strokes. Kept apart from the window so the timing is tested without one.

#include <vector>

namespace qir::practice {

// The clips' pen speed in writing boxes (side 1) per second.
inline constexpr double kShowMeBoxesPerSecond = 80.0 * 15 / 1024;

struct ShowMeMoment {
    int completedStrokes = 0;  // strokes written in full
    int activeStroke = -1;     // the stroke being written, or -1 while the pen rests
    double travelled = 0;      // how far along the active stroke's median, in box units
    bool finished = false;     // every stroke written
};

// How long writing strokes of these median lengths (box units) takes, in seconds.
double showMeDuration(const std::vector<double>& strokeLengths);

// Where "Show me" is `seconds` after it started.
ShowMeMoment showMeAt(const std::vector<double>& strokeLengths, double seconds);

}  // namespace qir::practice
