// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Strokes as learners draw them, made up with a fixed seed for the practice benchmarks:
// (a) the right stroke moved, scaled, rotated, wobbled and sampled at a mouse's rate;
// (b) the same drawn backwards; (c) the next stroke drawn too early; (d) the character's most
// similar other stroke; (e) random lines and scribbles.

#include <random>
#include <vector>

#include "practice/geometry.h"
#include "practice/stroke_judge.h"

namespace qir::practice::bench {

// Where one person writes one character: the whole of it moved by up to 8 % of the box each
// way from where the data has it.
struct Writer {
    Point shift;
    double strokeShift = 0.02;  // the most each stroke strays on its own, each way
};
Writer randomWriter(std::mt19937& random);
// A harsher writer for comparison: each stroke moved by up to 8 % on its own.
Writer scatteredWriter();

// A median as `writer` draws it with a mouse: moved with the writer's character and on its
// own, scaled by 0.8 to 1.2 and rotated by up to 8 degrees about its
// centre, wobbled by a hand's tremor, timed at a varying pace and sampled at 125 Hz on a box
// of 400 pixels.
DrawnStroke drawnLikeAPerson(const Polyline& median, const Writer& writer, std::mt19937& random);

// `path` walked at a pace that starts and ends slowly, read at a mouse's rate on a box of 400
// pixels.
DrawnStroke sampledAsMouse(const Polyline& path, std::mt19937& random);

// `path` with a hand's tremor across it: slow and quick waves sideways.
Polyline wobbled(const Polyline& path, std::mt19937& random);

// The points of `stroke` in the opposite order, timed anew.
DrawnStroke backwards(const DrawnStroke& stroke);

// A random line across the box or a random scribble, sampled as a mouse would.
DrawnStroke randomStroke(std::mt19937& random);

// The index of the stroke other than `index` whose median lies closest to `index`'s, point
// for point; -1 for a character of one stroke.
int mostSimilarStroke(const std::vector<Polyline>& medians, int index);

}  // namespace qir::practice::bench
