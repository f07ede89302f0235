// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules of stroke order that a character's geometry can decide, checked on its strokes in
// the order they are written. A rule only warns where the shapes leave no doubt: strokes that
// only touch, shapes it cannot separate and characters with too few strokes count as "could
// not judge", never as a warning.

#include <array>
#include <string>
#include <vector>

#include "tools/order_checker/stroke_geometry.h"

namespace qir::tools {

enum class OrderRule {
    TopBeforeBottom,  // of two strokes stacked close above each other, the upper first
    LeftBeforeRight,  // of two strokes side by side, the left first
    HengBeforeShu,    // a 横 before the 竖 that crosses it
    EnclosureClosedLast,  // a box (口 日 目 田 臼 ...) is closed by its bottom 横 after its inside
    DotOnTopFirst,        // a 点 that tops a 横 (亠 宀 立 文 ...) before the 横
    WalkLast,             // 辶 and 廴 after what they carry, their 捺 last of all
    MiddleBeforeSides,  // in 小 and 水 shapes the middle 竖 before the sides
};
inline constexpr std::size_t kOrderRuleCount = 7;

// The rule's short name, as the report and the exception file spell it: "enclosure-last".
const char* ruleKey(OrderRule rule);
// What the rule says, for the report.
const char* ruleText(OrderRule rule);
// The rule with this key; false when there is none.
bool ruleFromKey(const std::string& key, OrderRule& rule);

enum class RuleVerdict {
    NotApplicable,  // the character has no shape the rule speaks of
    Obeyed,         // it has, and they are written as the rule says
    Broken,         // a warning
    Undecided,      // it has a shape the rule might speak of, but the geometry cannot tell
};

// Step `late` (0-based, in writing order) belongs before step `early`, which is written first.
struct RuleWarning {
    OrderRule rule;
    int early = 0;
    int late = 0;
};

struct RuleCheck {
    std::array<RuleVerdict, kOrderRuleCount> verdicts{};
    std::vector<RuleWarning> warnings;

    RuleVerdict verdict(OrderRule rule) const { return verdicts[static_cast<std::size_t>(rule)]; }
};

// Checks every rule on `strokes`, in writing order.
RuleCheck checkRules(const std::vector<StrokeShape>& strokes);

}  // namespace qir::tools
