// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the order rules need to know of a stroke's place: its median's ends and extent, its
// outline's box, its coarse class, and where two medians cross.

#include <optional>
#include <vector>

#include "tools/order_checker/stroke_classes.h"
#include "tools/store_builder/character_data.h"

namespace qir::tools {

struct Box {
    double left = 0, right = 0, bottom = 0, top = 0;  // y up, as the data has it
    double width() const { return right - left; }
    double height() const { return top - bottom; }
    double centreX() const { return (left + right) / 2; }
    double centreY() const { return (bottom + top) / 2; }
};

struct StrokeShape {
    std::vector<PathPoint> median;
    Box box;        // the outline's, or the median's when the outline has no points
    Box medianBox;  // the median's alone
    double length = 0;
    StrokeClassSet classes;

    const PathPoint& start() const { return median.front(); }
    const PathPoint& end() const { return median.back(); }
    // Only this class, nothing near a boundary.
    bool is(StrokeClass c) const { return classes == StrokeClassSet(c); }
    // A short mark: a 点, or a stroke too short to tell apart from one.
    bool isDot() const;
    // A 横 lying flat: a 提 (车 and 王 on the left, 土 in 地) rises 11° and more.
    bool isFlatHeng() const { return isHengWithin(9); }
    // A 横 rising or falling less than `degrees`.
    bool isHengWithin(double degrees) const;
    // A straight 竖.
    bool isStraightShu() const;
    // The median's height at `x`, where it passes over `x` (the first such point); nullopt
    // where it does not.
    std::optional<double> heightAt(double x) const;
    // Every height at which the median passes over `x`.
    std::vector<double> heightsAt(double x) const;
};

StrokeShape shapeOf(const StrokeData& stroke);
std::vector<StrokeShape> shapesOf(const CharacterData& data);

// Where two medians meet, told by how far the meeting lies from each one's nearer end.
struct Meeting {
    PathPoint at;
    double inFirst = 0;   // distance along the first median to its nearer end
    double inSecond = 0;  // the same along the second
};

// The meeting of the two medians lying deepest inside both, nullopt when they do not meet.
std::optional<Meeting> meetingOf(const StrokeShape& a, const StrokeShape& b);

// The distance from `p` to the nearest point of the median.
double distanceTo(const PathPoint& p, const StrokeShape& s);

// The smallest distance between points of the two medians.
double gapBetween(const StrokeShape& a, const StrokeShape& b);

// The box around all of `shapes`.
Box boxOf(const std::vector<StrokeShape>& shapes);

}  // namespace qir::tools
