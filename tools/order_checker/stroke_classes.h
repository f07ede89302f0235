// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Coarse stroke classes that both a median of the stroke data and a stroke-type letter of the
// reference can be mapped to. They are coarse on purpose: a median tells its direction, its
// turns and its hook, not the finer names (横钩 from 横撇, 点 from a short 捺).

#include <string>
#include <vector>

#include "tools/store_builder/svg_path.h"

namespace qir::tools {

enum class StrokeClass : unsigned {
    Heng = 1u << 0,     // 横 and 提: rightwards or up to the right, no turn
    Shu = 1u << 1,      // 竖: straight down
    Pie = 1u << 2,      // 撇: down to the left
    Dian = 1u << 3,     // 点 and 捺: down to the right
    HengZhe = 1u << 4,  // strokes that start as a 横 and turn: 横折, 横撇, 横折钩 ...
    ShuZhe = 1u << 5,   // strokes that start down and turn or hook: 竖钩, 竖弯, 竖提 ...
    PieZhe = 1u << 6,   // strokes that start as a 撇 and turn: 撇折, 撇点
    XieGou = 1u << 7,   // 斜钩 and 卧钩: down to the right, ending in a hook upwards
};

// A set of classes: what a median may be (near a boundary it may be two), or what a
// reference letter accepts.
class StrokeClassSet {
  public:
    constexpr StrokeClassSet() = default;
    constexpr StrokeClassSet(StrokeClass c) : bits_(static_cast<unsigned>(c)) {}

    constexpr StrokeClassSet operator|(StrokeClassSet other) const {
        return fromBits(bits_ | other.bits_);
    }
    constexpr StrokeClassSet& operator|=(StrokeClassSet other) {
        bits_ |= other.bits_;
        return *this;
    }
    constexpr bool intersects(StrokeClassSet other) const { return (bits_ & other.bits_) != 0; }
    constexpr bool contains(StrokeClass c) const { return (bits_ & static_cast<unsigned>(c)) != 0; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr bool operator==(const StrokeClassSet&) const = default;

    // The classes' Chinese names joined by "/", "?" for none: "竖/撇".
    std::string name() const;

  private:
    static constexpr StrokeClassSet fromBits(unsigned bits) {
        StrokeClassSet set;
        set.bits_ = bits;
        return set;
    }
    unsigned bits_ = 0;
};

constexpr StrokeClassSet operator|(StrokeClass a, StrokeClass b) {
    return StrokeClassSet(a) | StrokeClassSet(b);
}

// Classifies a median given in the data's 1024-unit box with y pointing up. A median near a
// boundary between two classes gets both; one that fits none gets the empty set.
StrokeClassSet classifyMedian(const std::vector<PathPoint>& median);

}  // namespace qir::tools
