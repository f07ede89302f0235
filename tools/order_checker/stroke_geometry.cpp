// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/order_checker/stroke_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qir::tools {
namespace {

double distance(const PathPoint& a, const PathPoint& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

Box boxAround(const std::vector<PathPoint>& points) {
    Box box{std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
            std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest()};
    for (const PathPoint& p : points) {
        box.left = std::min(box.left, p.x);
        box.right = std::max(box.right, p.x);
        box.bottom = std::min(box.bottom, p.y);
        box.top = std::max(box.top, p.y);
    }
    return box;
}

// The point of segment a-b nearest to p.
double distanceToSegment(const PathPoint& p, const PathPoint& a, const PathPoint& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double squared = dx * dx + dy * dy;
    const double t =
        squared > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / squared, 0.0, 1.0) : 0;
    return distance(p, PathPoint{a.x + dx * t, a.y + dy * t});
}

// Where segments p-q and r-s cross, as the fractions along each; nullopt when they do not.
std::optional<std::pair<double, double>> crossing(const PathPoint& p, const PathPoint& q,
                                                  const PathPoint& r, const PathPoint& s) {
    const double ax = q.x - p.x, ay = q.y - p.y, bx = s.x - r.x, by = s.y - r.y;
    const double denominator = ax * by - ay * bx;
    if (std::abs(denominator) < 1e-9) {
        return std::nullopt;
    }
    const double t = ((r.x - p.x) * by - (r.y - p.y) * bx) / denominator;
    const double u = ((r.x - p.x) * ay - (r.y - p.y) * ax) / denominator;
    if (t < 0 || t > 1 || u < 0 || u > 1) {
        return std::nullopt;
    }
    return std::pair{t, u};
}

// The travelled length at the start of each segment, and the whole length last.
std::vector<double> travelled(const std::vector<PathPoint>& line) {
    std::vector<double> at{0};
    for (std::size_t i = 1; i < line.size(); ++i) {
        at.push_back(at.back() + distance(line[i - 1], line[i]));
    }
    return at;
}

double turnOf(const StrokeShape& s) {
    return std::atan2(s.end().y - s.start().y, s.end().x - s.start().x) * 180.0 / 3.14159265358979;
}

}  // namespace

bool StrokeShape::isDot() const {
    const bool shortMark = length < 150 && !is(StrokeClass::Heng) && !is(StrokeClass::Shu);
    return shortMark || (length < 230 && is(StrokeClass::Dian));
}

bool StrokeShape::isHengWithin(double degrees) const {
    return is(StrokeClass::Heng) && end().x > start().x && std::abs(turnOf(*this)) < degrees;
}

bool StrokeShape::isStraightShu() const {
    return is(StrokeClass::Shu) && medianBox.width() < 0.25 * medianBox.height();
}

std::optional<double> StrokeShape::heightAt(double x) const {
    for (std::size_t i = 1; i < median.size(); ++i) {
        const PathPoint& a = median[i - 1];
        const PathPoint& b = median[i];
        if ((a.x <= x && x <= b.x) || (b.x <= x && x <= a.x)) {
            const double span = b.x - a.x;
            return std::abs(span) < 1e-9 ? std::max(a.y, b.y)
                                         : a.y + (b.y - a.y) * (x - a.x) / span;
        }
    }
    return std::nullopt;
}

std::vector<double> StrokeShape::heightsAt(double x) const {
    std::vector<double> heights;
    for (std::size_t i = 1; i < median.size(); ++i) {
        const PathPoint& a = median[i - 1];
        const PathPoint& b = median[i];
        if ((a.x <= x && x <= b.x) || (b.x <= x && x <= a.x)) {
            const double span = b.x - a.x;
            heights.push_back(std::abs(span) < 1e-9 ? std::max(a.y, b.y)
                                                    : a.y + (b.y - a.y) * (x - a.x) / span);
        }
    }
    return heights;
}

StrokeShape shapeOf(const StrokeData& stroke) {
    StrokeShape shape;
    shape.median = stroke.median;
    if (shape.median.empty()) {
        shape.median.push_back({});
    }
    shape.medianBox = boxAround(shape.median);
    std::vector<PathPoint> outline;
    for (const PathCommand& command : stroke.outline) {
        if (!command.points.empty()) {
            outline.push_back(command.points.back());
        }
    }
    shape.box = outline.empty() ? shape.medianBox : boxAround(outline);
    shape.length = travelled(shape.median).back();
    shape.classes = classifyMedian(stroke.median);
    return shape;
}

std::vector<StrokeShape> shapesOf(const CharacterData& data) {
    std::vector<StrokeShape> shapes;
    shapes.reserve(data.strokes.size());
    for (const StrokeData& stroke : data.strokes) {
        shapes.push_back(shapeOf(stroke));
    }
    return shapes;
}

std::optional<Meeting> meetingOf(const StrokeShape& a, const StrokeShape& b) {
    const std::vector<double> alongA = travelled(a.median);
    const std::vector<double> alongB = travelled(b.median);
    std::optional<Meeting> best;
    for (std::size_t i = 1; i < a.median.size(); ++i) {
        for (std::size_t j = 1; j < b.median.size(); ++j) {
            const auto found = crossing(a.median[i - 1], a.median[i], b.median[j - 1], b.median[j]);
            if (!found) {
                continue;
            }
            const auto [t, u] = *found;
            const double inA = alongA[i - 1] + t * (alongA[i] - alongA[i - 1]);
            const double inB = alongB[j - 1] + u * (alongB[j] - alongB[j - 1]);
            Meeting meeting{{a.median[i - 1].x + t * (a.median[i].x - a.median[i - 1].x),
                             a.median[i - 1].y + t * (a.median[i].y - a.median[i - 1].y)},
                            std::min(inA, a.length - inA),
                            std::min(inB, b.length - inB)};
            if (!best || std::min(meeting.inFirst, meeting.inSecond) >
                             std::min(best->inFirst, best->inSecond)) {
                best = meeting;
            }
        }
    }
    return best;
}

double distanceTo(const PathPoint& p, const StrokeShape& s) {
    double nearest = distance(p, s.median.front());
    for (std::size_t i = 1; i < s.median.size(); ++i) {
        nearest = std::min(nearest, distanceToSegment(p, s.median[i - 1], s.median[i]));
    }
    return nearest;
}

double gapBetween(const StrokeShape& a, const StrokeShape& b) {
    if (meetingOf(a, b)) {
        return 0;
    }
    double gap = std::numeric_limits<double>::max();
    const auto nearest = [&gap](const std::vector<PathPoint>& points,
                                const std::vector<PathPoint>& line) {
        for (const PathPoint& p : points) {
            if (line.size() == 1) {
                gap = std::min(gap, distance(p, line[0]));
            }
            for (std::size_t i = 1; i < line.size(); ++i) {
                gap = std::min(gap, distanceToSegment(p, line[i - 1], line[i]));
            }
        }
    };
    nearest(a.median, b.median);
    nearest(b.median, a.median);
    return gap;
}

Box boxOf(const std::vector<StrokeShape>& shapes) {
    std::vector<PathPoint> corners;
    for (const StrokeShape& s : shapes) {
        corners.push_back({s.box.left, s.box.bottom});
        corners.push_back({s.box.right, s.box.top});
    }
    return corners.empty() ? Box{} : boxAround(corners);
}

}  // namespace qir::tools
