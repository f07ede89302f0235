// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/order_checker/stroke_classes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qir::tools {
namespace {

// Angles are in degrees, counter-clockwise from rightwards, y up: down is -90.
double directionOf(double dx, double dy) {
    return std::atan2(dy, dx) * 180.0 / std::numbers::pi;
}

// The smallest turn from direction `a` to direction `b`, -180 to 180.
double turnBetween(double a, double b) {
    return std::remainder(b - a, 360.0);
}

double distance(const PathPoint& a, const PathPoint& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

double lengthOf(const std::vector<PathPoint>& line) {
    double length = 0;
    for (std::size_t i = 1; i < line.size(); ++i) {
        length += distance(line[i - 1], line[i]);
    }
    return length;
}

// The part of `line` between the travelled lengths `from` and `to`.
std::vector<PathPoint> section(const std::vector<PathPoint>& line, double from, double to) {
    std::vector<PathPoint> out;
    double travelled = 0;
    for (std::size_t i = 1; i < line.size(); ++i) {
        const PathPoint& a = line[i - 1];
        const PathPoint& b = line[i];
        const double length = distance(a, b);
        const double start = travelled;
        travelled += length;
        if (length <= 0 || travelled < from || start > to) {
            continue;
        }
        const auto at = [&](double t) {
            return PathPoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
        };
        if (out.empty()) {
            out.push_back(at(std::max(0.0, (from - start) / length)));
        }
        out.push_back(at(std::min(1.0, (to - start) / length)));
    }
    return out.size() >= 2 ? out : line;
}

// Douglas-Peucker: the points of `line` that stay more than `tolerance` from the simplified
// line through them.
void simplifyInto(const std::vector<PathPoint>& line, std::size_t first, std::size_t last,
                  double tolerance, std::vector<PathPoint>& out) {
    const PathPoint& a = line[first];
    const PathPoint& b = line[last];
    const double chord = distance(a, b);
    double farthest = -1;
    std::size_t split = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        const PathPoint& p = line[i];
        const double off =
            chord > 0 ? std::abs((b.x - a.x) * (a.y - p.y) - (a.x - p.x) * (b.y - a.y)) / chord
                      : distance(a, p);
        if (off > farthest) {
            farthest = off;
            split = i;
        }
    }
    if (farthest > tolerance) {
        simplifyInto(line, first, split, tolerance, out);
        simplifyInto(line, split, last, tolerance, out);
    } else {
        out.push_back(b);
    }
}

struct Segment {
    double dx = 0;
    double dy = 0;
    double length() const { return std::hypot(dx, dy); }
    double direction() const { return directionOf(dx, dy); }
};

// Consecutive segments that bend gently: one movement of the brush.
struct Run {
    std::vector<Segment> parts;

    double length() const {
        double sum = 0;
        for (const Segment& part : parts) {
            sum += part.length();
        }
        return sum;
    }
    double heading() const {
        double dx = 0;
        double dy = 0;
        for (const Segment& part : parts) {
            dx += part.dx;
            dy += part.dy;
        }
        return directionOf(dx, dy);
    }
    // The direction of the run's last `share` of travel: where a curve ends up going.
    double endHeading(double share) const {
        double need = length() * share;
        double dx = 0;
        double dy = 0;
        for (auto part = parts.rbegin(); part != parts.rend() && need > 0; ++part) {
            const double length = part->length();
            const double taken = length > 0 ? std::min(1.0, need / length) : 0;
            dx += part->dx * taken;
            dy += part->dy * taken;
            need -= length * taken;
        }
        return directionOf(dx, dy);
    }
};

// The brush's entry (a short dab before the stroke proper) and a tiny flick at the end say
// nothing about the stroke; hooks are longer than this and stay.
constexpr double kEntryCut = 40;
constexpr double kExitCut = 20;
// A bend sharper than this between two segments, or than the second from the run's first
// segment, starts a new run: a fold or a hook rather than a curve.
constexpr double kFoldBetweenSegments = 62;
constexpr double kFoldWithinRun = 80;

std::vector<Run> runsOf(const std::vector<PathPoint>& median) {
    const double total = lengthOf(median);
    const std::vector<PathPoint> body = section(median, std::min(kEntryCut, 0.12 * total),
                                                total - std::min(kExitCut, 0.08 * total));
    std::vector<PathPoint> simple{body.front()};
    if (body.size() >= 2) {
        simplifyInto(body, 0, body.size() - 1, std::max(15.0, 0.05 * total), simple);
    }
    std::vector<Segment> segments;
    for (std::size_t i = 1; i < simple.size(); ++i) {
        const Segment segment{simple[i].x - simple[i - 1].x, simple[i].y - simple[i - 1].y};
        if (segment.length() > 0) {
            segments.push_back(segment);
        }
    }
    // What is left of an entry dab: very short, or short, heading down to the right and
    // running on into the stroke without a fold.
    while (segments.size() > 1 && segments.front().length() < 30) {
        segments.erase(segments.begin());
    }
    if (segments.size() > 1) {
        const Segment& first = segments[0];
        const double direction = first.direction();
        if (first.length() < std::min(100.0, 0.35 * total) && direction >= -85 && direction <= 0 &&
            std::abs(turnBetween(direction, segments[1].direction())) < 65) {
            segments.erase(segments.begin());
        }
    }
    std::vector<Run> runs;
    for (const Segment& segment : segments) {
        const double direction = segment.direction();
        if (!runs.empty() &&
            std::abs(turnBetween(runs.back().parts.back().direction(), direction)) <
                kFoldBetweenSegments &&
            std::abs(turnBetween(runs.back().parts.front().direction(), direction)) <
                kFoldWithinRun) {
            runs.back().parts.push_back(segment);
        } else {
            runs.push_back({{segment}});
        }
    }
    if (runs.size() > 1 && runs.back().length() < 30) {
        runs.pop_back();
    }
    return runs;
}

bool within(double value, double low, double high) {
    return value >= low && value <= high;
}

StrokeClassSet classifyStraight(const Run& run) {
    const double heading = run.heading();
    const double end = run.endHeading(0.3);
    StrokeClassSet classes;
    if (within(heading, -25, 85)) {
        classes |= StrokeClass::Heng;
    }
    if (within(heading, -80, -15)) {
        classes |= StrokeClass::Dian;
    }
    if (within(heading, -120, -55) && end >= -132) {
        classes |= StrokeClass::Shu;
    }
    // Down to the left, or a stroke that starts down and bends away to the left.
    if (heading <= -95 || heading >= 150 || (end < -115 && heading < -55)) {
        classes |= StrokeClass::Pie;
    }
    return classes;
}

StrokeClassSet classifyTurning(const std::vector<Run>& runs) {
    const double first = runs.front().heading();
    const double hook = runs.back().parts.back().direction();
    StrokeClassSet classes;
    if (within(first, -45, 60)) {
        classes |= StrokeClass::HengZhe;
    }
    if (within(first, -130, -55)) {
        classes |= StrokeClass::ShuZhe;
    }
    if (first < -100 || first > 150) {
        classes |= StrokeClass::PieZhe;
    }
    const bool hooksUp = within(first, -85, 20) && hook > 20 && hook < 140;
    if (hooksUp) {
        classes |= StrokeClass::XieGou;
    } else if (within(first, -85, -10)) {
        classes |= StrokeClass::ShuZhe;
    }
    return classes;
}

}  // namespace

std::string StrokeClassSet::name() const {
    static constexpr std::pair<StrokeClass, const char*> kNames[] = {
        {StrokeClass::Heng, "横"},      {StrokeClass::Shu, "竖"},
        {StrokeClass::Pie, "撇"},       {StrokeClass::Dian, "点"},
        {StrokeClass::HengZhe, "横折"}, {StrokeClass::ShuZhe, "竖折"},
        {StrokeClass::PieZhe, "撇折"},  {StrokeClass::XieGou, "斜钩"},
    };
    std::string text;
    for (const auto& [member, name] : kNames) {
        if (contains(member)) {
            if (!text.empty()) {
                text += '/';
            }
            text += name;
        }
    }
    return text.empty() ? "?" : text;
}

StrokeClassSet classifyMedian(const std::vector<PathPoint>& median) {
    if (median.size() < 2 || lengthOf(median) <= 0) {
        return {};
    }
    const std::vector<Run> runs = runsOf(median);
    if (runs.empty()) {
        return {};
    }
    return runs.size() == 1 ? classifyStraight(runs.front()) : classifyTurning(runs);
}

}  // namespace qir::tools
