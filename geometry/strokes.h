// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A character's strokes as the stroke data draws them: per stroke, in writing order, its
// outline and its median (the centre line a brush follows). One model for every part of the
// program that reads, stores or draws strokes.
//
// Coordinates are those of the stroke data: a 1024 x 1024 box whose y axis points up
// (drawing.h puts them into a y-down box).

#include <cstdint>
#include <vector>

namespace qir::geometry {

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

enum class OutlineVerb : std::uint8_t {
    MoveTo = 0,
    LineTo = 1,
    QuadTo = 2,
    CubicTo = 3,
    Close = 4
};

// The number of points each verb carries: MoveTo and LineTo one, QuadTo two (control, end),
// CubicTo three (two controls, end), Close none.
int pointCount(OutlineVerb verb);

struct OutlineCommand {
    OutlineVerb verb = OutlineVerb::MoveTo;
    std::vector<Point> points;  // as many as the verb takes
    bool operator==(const OutlineCommand&) const = default;
};

struct Stroke {
    std::vector<OutlineCommand> outline;
    std::vector<Point> median;
    bool operator==(const Stroke&) const = default;
};

struct CharacterStrokes {
    std::vector<Stroke> strokes;
    bool operator==(const CharacterStrokes&) const = default;
};

}  // namespace qir::geometry
