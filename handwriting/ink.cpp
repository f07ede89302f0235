// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/ink.h"

#include <algorithm>
#include <cmath>

namespace qir::handwriting {
namespace {

// Points further than this from the pad's middle are brought in to it.
constexpr double kFarthest = 4;

}  // namespace

Polyline cleaned(const Polyline& stroke) {
    Polyline finite;
    for (const Point& point : stroke) {
        if (std::isfinite(point.x) && std::isfinite(point.y)) {
            finite.push_back({std::clamp(point.x, 0.5 - kFarthest, 0.5 + kFarthest),
                              std::clamp(point.y, 0.5 - kFarthest, 0.5 + kFarthest)});
        }
    }
    if (finite.size() <= kMostPointsPerStroke) {
        return finite;
    }
    Polyline thinned;
    thinned.reserve(kMostPointsPerStroke);
    const double step =
        static_cast<double>(finite.size() - 1) / static_cast<double>(kMostPointsPerStroke - 1);
    for (std::size_t i = 0; i < kMostPointsPerStroke; ++i) {
        thinned.push_back(
            finite[static_cast<std::size_t>(std::lround(step * static_cast<double>(i)))]);
    }
    return thinned;
}

}  // namespace qir::handwriting
