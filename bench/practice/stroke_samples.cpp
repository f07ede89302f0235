// SPDX-License-Identifier: GPL-3.0-or-later
#include "stroke_samples.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace qir::practice::bench {
namespace {

constexpr double kBoxPixels = 400;
constexpr double kMouseHertz = 125;
constexpr double kMostShift = 0.08;
constexpr double kMostTurnDegrees = 8;
constexpr double kTremor = 0.004;  // of the box, about a pixel and a half

double uniform(std::mt19937& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

}  // namespace

// Walks `path` at a pace that starts and ends slowly, reading the pointer at the mouse's
// rate, each reading rounded to a whole pixel.
DrawnStroke sampledAsMouse(const Polyline& path, std::mt19937& random) {
    const double length = pathLength(path);
    const double speed = uniform(random, 0.5, 1.6);  // boxes a second at full pace
    // With a pace of sin over the stroke, the stroke takes pi/2 times as long as at full pace.
    const double duration = std::max(length / speed * std::numbers::pi / 2, 1 / kMouseHertz);
    const std::size_t readings = static_cast<std::size_t>(std::ceil(duration * kMouseHertz)) + 1;
    const Polyline even = resampled(path, 512);
    DrawnStroke stroke;
    for (std::size_t i = 0; i < readings; ++i) {
        const double seconds = std::min(static_cast<double>(i) / kMouseHertz, duration);
        // The share of the path walked: (1 - cos(pi t)) / 2 for a pace of sin.
        const double walked = (1 - std::cos(std::numbers::pi * seconds / duration)) / 2;
        const Point point = even[static_cast<std::size_t>(std::lround(walked * 511))];
        stroke.push_back({std::round(point.x * kBoxPixels) / kBoxPixels,
                          std::round(point.y * kBoxPixels) / kBoxPixels, seconds, -1});
    }
    return stroke;
}

Polyline wobbled(const Polyline& path, std::mt19937& random) {
    const Polyline even = resampled(path, 256);
    // Two slow waves across the stroke and one quicker, of random phases, sideways.
    double phase[3];
    for (double& p : phase) {
        p = uniform(random, 0, 2 * std::numbers::pi);
    }
    const double amplitude = uniform(random, 0.3, 1.0) * kTremor;
    Polyline result;
    result.reserve(even.size());
    for (std::size_t i = 0; i < even.size(); ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(even.size() - 1);
        const Point along = even[std::min(i + 1, even.size() - 1)] - even[i > 0 ? i - 1 : 0];
        const double norm = std::hypot(along.x, along.y);
        const Point side = norm > 0 ? Point{-along.y / norm, along.x / norm} : Point{0, 0};
        const double offset = amplitude * (0.5 * std::sin(2 * std::numbers::pi * t + phase[0]) +
                                           0.3 * std::sin(4 * std::numbers::pi * t + phase[1]) +
                                           0.2 * std::sin(11 * std::numbers::pi * t + phase[2]));
        result.push_back(even[i] + side * offset);
    }
    return result;
}

Writer randomWriter(std::mt19937& random) {
    return {{uniform(random, -kMostShift, kMostShift), uniform(random, -kMostShift, kMostShift)}};
}

Writer scatteredWriter() {
    return {{0, 0}, kMostShift};
}

DrawnStroke drawnLikeAPerson(const Polyline& median, const Writer& writer, std::mt19937& random) {
    const Point centre = centroid(resampled(median, 64));
    const Point shift =
        writer.shift + Point{uniform(random, -writer.strokeShift, writer.strokeShift),
                             uniform(random, -writer.strokeShift, writer.strokeShift)};
    const double scale = uniform(random, 0.8, 1.2);
    const double turn =
        uniform(random, -kMostTurnDegrees, kMostTurnDegrees) * std::numbers::pi / 180;
    const double c = std::cos(turn) * scale;
    const double s = std::sin(turn) * scale;
    Polyline moved;
    for (const Point& point : median) {
        const Point d = point - centre;
        moved.push_back(centre + shift + Point{c * d.x - s * d.y, s * d.x + c * d.y});
    }
    return sampledAsMouse(wobbled(moved, random), random);
}

DrawnStroke backwards(const DrawnStroke& stroke) {
    DrawnStroke result(stroke.rbegin(), stroke.rend());
    const double end = stroke.empty() ? 0 : stroke.back().seconds;
    for (DrawnPoint& point : result) {
        point.seconds = end - point.seconds;
    }
    return result;
}

DrawnStroke randomStroke(std::mt19937& random) {
    const auto anywhere = [&] {
        return Point{uniform(random, 0.05, 0.95), uniform(random, 0.05, 0.95)};
    };
    Polyline path;
    switch (std::uniform_int_distribution<int>(0, 2)(random)) {
        case 0:  // a straight line between two points of the box
            path = {anywhere(), anywhere()};
            break;
        case 1: {  // a zigzag of a few strokes in a patch of the box
            const Point centre = anywhere();
            const double size = uniform(random, 0.05, 0.4);
            const int turns = std::uniform_int_distribution<int>(3, 9)(random);
            for (int i = 0; i <= turns; ++i) {
                path.push_back(centre +
                               Point{uniform(random, -size, size), uniform(random, -size, size)});
            }
            break;
        }
        default: {  // a loop or a curl
            const Point centre = anywhere();
            const double radius = uniform(random, 0.03, 0.3);
            const double start = uniform(random, 0, 2 * std::numbers::pi);
            const double sweep = uniform(random, 1.5, 6) * (random() % 2 == 0 ? 1 : -1);
            for (int i = 0; i <= 40; ++i) {
                const double angle = start + sweep * i / 40;
                path.push_back(centre + Point{std::cos(angle), std::sin(angle)} * radius);
            }
            break;
        }
    }
    return sampledAsMouse(wobbled(path, random), random);
}

int mostSimilarStroke(const std::vector<Polyline>& medians, int index) {
    const Polyline own = resampled(medians[static_cast<std::size_t>(index)], 32);
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int other = 0; other < static_cast<int>(medians.size()); ++other) {
        if (other == index) {
            continue;
        }
        const Polyline points = resampled(medians[static_cast<std::size_t>(other)], 32);
        double sum = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            sum += distance(points[i], own[i]);
        }
        if (sum < bestDistance) {
            bestDistance = sum;
            best = other;
        }
    }
    return best;
}

}  // namespace qir::practice::bench
