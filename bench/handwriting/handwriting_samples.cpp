// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting_samples.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "bench/practice/stroke_samples.h"

namespace qir::handwriting::bench {
namespace {

constexpr double kMostShift = 0.08;
constexpr double kMostTurnDegrees = 8;
constexpr double kMostStrokeShift = 0.05;
constexpr double kMostLengthChange = 0.15;
// Strokes whose ends lie this close count as touching.
constexpr double kTouching = 0.08;

double uniform(std::mt19937& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

std::size_t anyOf(std::size_t count, std::mt19937& random) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
}

Polyline mouseLine(const Polyline& path, std::mt19937& random) {
    Polyline line;
    for (const auto& point :
         practice::bench::sampledAsMouse(practice::bench::wobbled(path, random), random)) {
        line.push_back({point.x, point.y});
    }
    return line;
}

// The pair (j, j + 1) to run together: one whose ends touch, else the closest.
std::size_t joinedPair(const std::vector<Polyline>& strokes, std::mt19937& random) {
    std::vector<std::size_t> touching;
    std::size_t closest = 0;
    double closestGap = 1e9;
    for (std::size_t j = 0; j + 1 < strokes.size(); ++j) {
        const double gap = practice::distance(strokes[j].back(), strokes[j + 1].front());
        if (gap < kTouching) {
            touching.push_back(j);
        }
        if (gap < closestGap) {
            closestGap = gap;
            closest = j;
        }
    }
    return touching.empty() ? closest : touching[anyOf(touching.size(), random)];
}

// A short stroke: one of those at most half as long again as the shortest.
std::size_t shortStroke(const std::vector<Polyline>& strokes, std::mt19937& random) {
    double shortest = 1e9;
    for (const Polyline& stroke : strokes) {
        shortest = std::min(shortest, practice::pathLength(stroke));
    }
    std::vector<std::size_t> short_;
    for (std::size_t j = 0; j < strokes.size(); ++j) {
        if (practice::pathLength(strokes[j]) <= 1.5 * shortest + 1e-9) {
            short_.push_back(j);
        }
    }
    return short_[anyOf(short_.size(), random)];
}

}  // namespace

std::optional<Ink> drawnByALearner(const std::vector<Polyline>& medians, Slip slip,
                                   std::mt19937& random) {
    if (medians.empty() || (slip != Slip::None && medians.size() < 2)) {
        return std::nullopt;
    }
    Polyline all;
    for (const Polyline& median : medians) {
        all.insert(all.end(), median.begin(), median.end());
    }
    const Point centre = practice::centroid(all);
    const Point shift{uniform(random, -kMostShift, kMostShift),
                      uniform(random, -kMostShift, kMostShift)};
    const double scale = uniform(random, 0.8, 1.2);
    const double turn =
        uniform(random, -kMostTurnDegrees, kMostTurnDegrees) * std::numbers::pi / 180;
    const double c = std::cos(turn) * scale;
    const double s = std::sin(turn) * scale;
    std::vector<Polyline> strokes;
    for (const Polyline& median : medians) {
        const Point own{uniform(random, -kMostStrokeShift, kMostStrokeShift),
                        uniform(random, -kMostStrokeShift, kMostStrokeShift)};
        const double length = 1 + uniform(random, -kMostLengthChange, kMostLengthChange);
        const Point middle = practice::centroid(practice::resampled(median, 32));
        Polyline moved;
        for (const Point& point : median) {
            const Point d = middle + (point - middle) * length - centre;
            moved.push_back(centre + shift + own + Point{c * d.x - s * d.y, s * d.x + c * d.y});
        }
        strokes.push_back(std::move(moved));
    }
    switch (slip) {
        case Slip::None:
            break;
        case Slip::OrderSlip: {
            const std::size_t j = anyOf(strokes.size() - 1, random);
            std::swap(strokes[j], strokes[j + 1]);
            break;
        }
        case Slip::Joined: {
            const std::size_t j = joinedPair(strokes, random);
            strokes[j].insert(strokes[j].end(), strokes[j + 1].begin(), strokes[j + 1].end());
            strokes.erase(strokes.begin() + static_cast<std::ptrdiff_t>(j) + 1);
            break;
        }
        case Slip::LeftOut:
            strokes.erase(strokes.begin() +
                          static_cast<std::ptrdiff_t>(shortStroke(strokes, random)));
            break;
    }
    Ink ink;
    for (const Polyline& stroke : strokes) {
        ink.push_back(mouseLine(stroke, random));
    }
    return ink;
}

}  // namespace qir::handwriting::bench
