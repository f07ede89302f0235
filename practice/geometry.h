// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain plane geometry for judging strokes: points and polylines in the writing box, whose
// side is 1 and whose y axis points down.

#include <cstddef>
#include <vector>

namespace qir::practice {

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

inline Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
inline Point operator*(Point a, double f) {
    return {a.x * f, a.y * f};
}

double distance(Point a, Point b);

using Polyline = std::vector<Point>;

// The sum of the segments' lengths.
double pathLength(const Polyline& line);

// `count` points (at least 2) evenly spaced along `line` by arc length, its ends included.
// A line of one point, or of no length, gives `count` copies of its first point; an empty
// one gives nothing.
Polyline resampled(const Polyline& line, std::size_t count);

Point centroid(const Polyline& points);

Polyline reversed(Polyline line);

}  // namespace qir::practice
