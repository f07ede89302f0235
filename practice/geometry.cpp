// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/geometry.h"

#include <algorithm>
#include <cmath>

namespace qir::practice {

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

double pathLength(const Polyline& line) {
    double length = 0;
    for (std::size_t i = 1; i < line.size(); ++i) {
        length += distance(line[i - 1], line[i]);
    }
    return length;
}

Polyline resampled(const Polyline& line, std::size_t count) {
    count = std::max<std::size_t>(count, 2);
    if (line.empty()) {
        return {};
    }
    const double length = pathLength(line);
    if (line.size() == 1 || length <= 0) {
        return Polyline(count, line.front());
    }
    Polyline result;
    result.reserve(count);
    result.push_back(line.front());
    const double step = length / static_cast<double>(count - 1);
    double walked = 0;  // along the line up to line[segment - 1]
    std::size_t segment = 1;
    for (std::size_t i = 1; i + 1 < count; ++i) {
        const double target = step * static_cast<double>(i);
        double segmentLength = distance(line[segment - 1], line[segment]);
        while (walked + segmentLength < target && segment + 1 < line.size()) {
            walked += segmentLength;
            ++segment;
            segmentLength = distance(line[segment - 1], line[segment]);
        }
        const double t =
            segmentLength > 0 ? std::clamp((target - walked) / segmentLength, 0.0, 1.0) : 0.0;
        result.push_back(line[segment - 1] + (line[segment] - line[segment - 1]) * t);
    }
    result.push_back(line.back());
    return result;
}

Point centroid(const Polyline& points) {
    Point sum;
    for (const Point& point : points) {
        sum = sum + point;
    }
    return points.empty() ? sum : sum * (1.0 / static_cast<double>(points.size()));
}

Polyline reversed(Polyline line) {
    std::reverse(line.begin(), line.end());
    return line;
}

}  // namespace qir::practice
