// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/order_checker/order_rules.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace qir::tools {
namespace {

using enum StrokeClass;

// Distances in the data's 1024-unit box. A meeting this deep inside both medians is a
// crossing; one this near an end of either is a touch; between the two nothing is decided.
constexpr double kCrossing = 40;
constexpr double kTouch = 15;
// Strokes count as neighbours, one above or beside the other, up to this gap between their
// outlines, and as clearly apart from this gap on.
constexpr double kNeighbourGap = 120;
constexpr double kApart = 10;

struct Judgement {
    bool judged = false;
    bool undecided = false;
    std::vector<RuleWarning> warnings;
};

// Records that `first` belongs before `second`: a warning when it is written after it.
void expectBefore(Judgement& judgement, OrderRule rule, int first, int second) {
    judgement.judged = true;
    if (second < first) {
        judgement.warnings.push_back({rule, second, first});
    }
}

// Records a case the geometry cannot judge, where judged it might warn: `first` would
// belong before `second`, which is written before it.
void doubt(Judgement& judgement, int first, int second) {
    judgement.undecided = judgement.undecided || second < first;
}

double overlap(double a0, double a1, double b0, double b1) {
    return std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
}

double middleX(const StrokeShape& s) {
    return s.medianBox.centreX();
}

// The long flat 捺 at the bottom that 辶, 廴 (and 走, 是) carry the rest on. Flat, it may
// read as a 横; it still falls to the right.
bool isBaseNa(const StrokeShape& s, const Box& whole) {
    return s.classes.intersects(Dian | Heng) && s.end().y < s.start().y - 40 &&
           s.medianBox.width() >= 0.45 * whole.width() &&
           s.start().x <= whole.left + 0.4 * whole.width() &&
           s.medianBox.bottom <= whole.bottom + 0.25 * whole.height();
}

// The strokes of a 辶 or 廴: its 捺 and the turning stroke (㇋ or ㇌) that ends where it starts.
struct Walk {
    int na = -1;
    int turn = -1;
};

std::vector<Walk> findWalks(const std::vector<StrokeShape>& s, const Box& whole,
                            Judgement& judgement) {
    std::vector<Walk> walks;
    for (int n = 0; n < static_cast<int>(s.size()); ++n) {
        if (!isBaseNa(s[n], whole)) {
            continue;
        }
        for (int w = 0; w < static_cast<int>(s.size()); ++w) {
            const Box& b = s[w].medianBox;
            // The turning stroke zigzags down the left side (not 是's or 走's plain 撇) and
            // comes down onto the 捺.
            // 辶's and 廴's 捺 starts at the left of the turning stroke; 夂's (处) further in.
            if (w == n || !s[w].classes.intersects(HengZhe | PieZhe) || s[w].is(Pie) ||
                s[n].start().x > b.left + 60 ||
                b.right > s[n].start().x + 0.45 * s[n].medianBox.width() ||
                b.height() < 0.25 * whole.height() ||
                s[w].end().y > whole.bottom + 0.4 * whole.height()) {
                continue;
            }
            const double joint = gapBetween(s[w], s[n]);
            if (joint < 60) {
                walks.push_back({n, w});
            } else if (joint < 120) {
                judgement.undecided = true;
            }
        }
    }
    return walks;
}

Judgement walkLast(const std::vector<StrokeShape>& s, const std::vector<Walk>& walks) {
    Judgement j;
    for (const Walk& walk : walks) {
        const StrokeShape& turn = s[walk.turn];
        for (int i = 0; i < static_cast<int>(s.size()); ++i) {
            if (i == walk.na || i == walk.turn) {
                continue;
            }
            const auto under = s[walk.na].heightAt(middleX(s[i]));
            const bool carried = middleX(s[i]) > turn.medianBox.right - 20 && under &&
                                 s[i].medianBox.centreY() > *under;
            if (carried) {
                expectBefore(j, OrderRule::WalkLast, i, walk.turn);
            }
            expectBefore(j, OrderRule::WalkLast, i, walk.na);
        }
    }
    return j;
}

Judgement hengBeforeShu(const std::vector<StrokeShape>& s) {
    Judgement j;
    for (int h = 0; h < static_cast<int>(s.size()); ++h) {
        if (!s[h].isFlatHeng()) {
            continue;
        }
        for (int v = 0; v < static_cast<int>(s.size()); ++v) {
            if (v == h || !s[v].isStraightShu()) {
                continue;
            }
            // A frame's side (冂 with a 横折 starting at its top) stands before what crosses
            // its legs (冉, 冓): the frame comes first, and the rule cannot say more.
            const bool frameSide = std::any_of(s.begin(), s.end(), [&](const StrokeShape& o) {
                return o.classes.contains(HengZhe) &&
                       std::hypot(o.start().x - s[v].start().x, o.start().y - s[v].start().y) < 90;
            });
            const auto meeting = meetingOf(s[h], s[v]);
            if (!meeting) {
                continue;
            }
            const double depth = std::min(meeting->inFirst, meeting->inSecond);
            // Low on a 竖 the 横 may come after it (土 under 日 in 里, 本's mark, a closing 提):
            // only a crossing in its upper part is judged.
            const bool upper = s[v].start().y - meeting->at.y <= 0.55 * s[v].medianBox.height();
            // A 横 starting at the foot of another 竖 closes it (耳's 提, flat in this font).
            const bool closing = std::any_of(s.begin(), s.end(), [&](const StrokeShape& o) {
                return &o != &s[v] && o.isStraightShu() && distanceTo(o.end(), s[h]) < 50 &&
                       !meetingOf(o, s[h]);
            });
            if (depth >= kCrossing && upper && !frameSide && !closing) {
                expectBefore(j, OrderRule::HengBeforeShu, h, v);
            } else if (depth > kTouch) {
                doubt(j, h, v);
            }
        }
    }
    return j;
}

// Whether `s` runs through the bottom of a box (中, 叟's 丨) instead of standing inside it.
bool crossesBottom(const StrokeShape& s, const StrokeShape& bottom) {
    const auto meeting = meetingOf(s, bottom);
    return meeting && std::min(meeting->inFirst, meeting->inSecond) >= kCrossing;
}

// A box: a left 竖, a 横折 whose 横 starts level with the 竖's top and whose 折 comes down
// to the 竖's bottom on the right, and a flat 横 across the two bottoms.
Judgement enclosureClosedLast(const std::vector<StrokeShape>& s) {
    Judgement j;
    const int count = static_cast<int>(s.size());
    for (int l = 0; l < count; ++l) {
        // The left side may slant (臼).
        const Box& side = s[l].medianBox;
        if (!s[l].classes.contains(Shu) || side.width() > 0.5 * side.height()) {
            continue;
        }
        const double left = middleX(s[l]);
        for (int r = 0; r < count; ++r) {
            const StrokeShape& turn = s[r];
            if (r == l || !turn.classes.contains(HengZhe) ||
                std::abs(turn.start().y - s[l].start().y) > 80 || turn.start().x < left - 60 ||
                turn.end().x < left + 80 ||
                std::abs(turn.end().y - s[l].end().y) > std::max(80.0, 0.35 * side.height()) ||
                turn.start().x > left + 0.75 * (turn.end().x - left) ||
                turn.medianBox.right - turn.end().x > 150) {
                continue;
            }
            // The 折 may slant in towards its foot (口 in this font): the side lies between.
            const double right = (turn.end().x + turn.medianBox.right) / 2;
            const double slack = std::max(80.0, 0.25 * (right - left));
            const double top = (turn.start().y + s[l].start().y) / 2;
            const double bottom = (turn.end().y + s[l].end().y) / 2;
            int closing = -1;
            double nearest = 70;
            for (int b = 0; b < count; ++b) {
                // A box's bottom may rise a little (臼).
                if (b == l || b == r || !s[b].isHengWithin(14)) {
                    continue;
                }
                const double y = (s[b].start().y + s[b].end().y) / 2;
                const bool spans = s[b].start().x <= left + slack && s[b].end().x >= right - slack;
                if (std::abs(y - bottom) < nearest && spans) {
                    nearest = std::abs(y - bottom);
                    closing = b;
                } else if (std::abs(y - bottom) < 100 && overlap(s[b].start().x, s[b].end().x, left,
                                                                 right) > 0.5 * (right - left)) {
                    doubt(j, r, b);
                }
            }
            // A side running on through the bottom is no box's side (叟's 丨 beside 臼's half).
            if (closing < 0 || crossesBottom(s[l], s[closing])) {
                continue;
            }
            expectBefore(j, OrderRule::EnclosureClosedLast, l, closing);
            expectBefore(j, OrderRule::EnclosureClosedLast, r, closing);
            for (int i = 0; i < count; ++i) {
                const Box& m = s[i].medianBox;
                const bool inside = i != l && i != r && i != closing && m.left > left - 20 &&
                                    m.right < right + 20 && m.bottom > bottom - 20 &&
                                    m.top < top + 20 && m.centreX() > left && m.centreX() < right &&
                                    m.centreY() > bottom && m.centreY() < top &&
                                    !crossesBottom(s[i], s[closing]);
                if (inside) {
                    expectBefore(j, OrderRule::EnclosureClosedLast, i, closing);
                }
            }
        }
    }
    return j;
}

// A 点 sitting on the middle of a 横 or 横折 close under it.
Judgement dotOnTopFirst(const std::vector<StrokeShape>& s) {
    Judgement j;
    const int count = static_cast<int>(s.size());
    for (int d = 0; d < count; ++d) {
        if (s[d].length >= 150 || s[d].isFlatHeng() || s[d].classes.empty()) {
            continue;
        }
        const double x = middleX(s[d]);
        int below = -1;
        double belowY = -1e9;
        bool enclosed = false;
        for (int h = 0; h < count; ++h) {
            if (h == d) {
                continue;
            }
            for (const double y : s[h].heightsAt(x)) {
                enclosed = enclosed || (y >= s[d].medianBox.bottom && y < s[d].medianBox.top + 200);
                if (y < s[d].medianBox.bottom && y > belowY) {
                    belowY = y;
                    below = h;
                }
            }
        }
        // A 点 under another stroke (夕, 心 under a 横) tops nothing.
        if (below < 0 || enclosed || !s[below].classes.intersects(Heng | HengZhe) ||
            s[below].classes.intersects(Shu | Pie | Dian | ShuZhe | XieGou | PieZhe)) {
            continue;
        }
        const StrokeShape& h = s[below];
        const double gap = s[d].medianBox.bottom - belowY;
        const double at = (x - h.medianBox.left) / std::max(1.0, h.medianBox.width());
        // The 横 runs level under the 点 on both sides (not 癶's 横撇 turning away under it).
        const double reach = 0.8 * std::max(60.0, s[d].box.width());
        const auto level = [&](double side) {
            const std::vector<double> ys = h.heightsAt(side);
            return std::any_of(ys.begin(), ys.end(),
                               [&](double y) { return std::abs(y - belowY) < 60; });
        };
        const bool under = level(x - reach) && level(x + reach);
        const bool centred = at > 0.3 && at < 0.7 && h.medianBox.width() > 2 * s[d].box.width();
        const bool nearlyCentred = at > 0.12 && at < 0.88;
        if (gap < 130 && centred && under) {
            expectBefore(j, OrderRule::DotOnTopFirst, d, below);
        } else if (gap < 180 && nearlyCentred) {
            doubt(j, d, below);
        }
    }
    return j;
}

// 小 and 水 shapes: a tall middle 竖 with a stroke close on either side of it, level with
// each other, and nothing crossing the 竖 under them (in 半 and 平 the sides sit above a 横
// and come first).
struct MiddleShape {
    int middle = -1;
    int left = -1;
    int right = -1;
};

std::vector<MiddleShape> findMiddleShapes(const std::vector<StrokeShape>& s, Judgement& j) {
    std::vector<MiddleShape> shapes;
    const int count = static_cast<int>(s.size());
    for (int m = 0; m < count; ++m) {
        const Box& mid = s[m].medianBox;
        if (!(s[m].isStraightShu() || s[m].is(ShuZhe)) || mid.height() < 250 ||
            mid.width() > 0.35 * mid.height()) {
            continue;
        }
        const double x = mid.centreX();
        const auto side = [&](int i, bool onLeft) {
            const Box& b = s[i].medianBox;
            const double gap = onLeft ? x - b.right : b.left - x;
            if (i == m || !s[i].classes.intersects(Pie | Dian | PieZhe) ||
                s[i].classes.intersects(Heng | HengZhe | ShuZhe) || gap <= 15 || gap >= 150 ||
                b.height() > 0.6 * mid.height() || b.centreY() <= mid.bottom ||
                b.centreY() >= mid.top - 0.15 * mid.height()) {
                return false;
            }
            // A side belongs to the 竖: nothing else is as near to it, but the strokes that
            // meet the 竖 (示's 横s over 小).
            const double toMiddle = gapBetween(s[i], s[m]);
            for (int k = 0; k < count; ++k) {
                if (k != i && k != m && !meetingOf(s[k], s[m]) &&
                    gapBetween(s[i], s[k]) <= toMiddle) {
                    return false;
                }
            }
            return true;
        };
        for (int l = 0; l < count; ++l) {
            for (int r = 0; r < count; ++r) {
                if (!side(l, true) || !side(r, false)) {
                    continue;
                }
                const Box& a = s[l].medianBox;
                const Box& b = s[r].medianBox;
                const double level = overlap(a.bottom, a.top, b.bottom, b.top);
                if (level < 0.3 * std::max(1.0, std::min(a.height(), b.height()))) {
                    continue;
                }
                const double band = std::min(a.bottom, b.bottom);
                bool crossedUnder = false;
                bool tallNeighbour = false;
                for (int i = 0; i < count; ++i) {
                    if (i == m || i == l || i == r) {
                        continue;
                    }
                    const auto meeting = meetingOf(s[i], s[m]);
                    if (meeting && meeting->at.y < band + 20 && meeting->inSecond > kTouch) {
                        crossedUnder = true;
                    }
                    const Box& n = s[i].medianBox;
                    if (!meeting && n.height() >= 0.6 * mid.height() &&
                        std::abs(n.centreX() - x) < 250 &&
                        overlap(n.bottom, n.top, mid.bottom, mid.top) > 0.5 * mid.height()) {
                        tallNeighbour = true;
                    }
                }
                if (crossedUnder) {
                    continue;
                }
                // A 竖 running on far below its sides is a component's spine (忄's 竖 comes
                // after its 点s), not 小's middle.
                const double bandTop = std::max(a.top, b.top);
                const bool hooked = s[m].is(ShuZhe);
                if ((!hooked && band - mid.bottom > 150) ||
                    bandTop < mid.bottom + 0.2 * mid.height() || tallNeighbour) {
                    doubt(j, m, std::min(l, r));
                    continue;
                }
                shapes.push_back({m, l, r});
            }
        }
    }
    return shapes;
}

Judgement middleBeforeSides(const std::vector<MiddleShape>& shapes, Judgement j) {
    for (const MiddleShape& shape : shapes) {
        expectBefore(j, OrderRule::MiddleBeforeSides, shape.middle, shape.left);
        expectBefore(j, OrderRule::MiddleBeforeSides, shape.middle, shape.right);
    }
    return j;
}

// Of two strokes, neither a 点 nor part of a 辶, close to each other and clearly apart along
// one axis while sharing most of the other, the upper (or the left) comes first.
Judgement neighbours(const std::vector<StrokeShape>& s, const std::set<int>& skipped,
                     const std::set<std::pair<int, int>>& sideOfMiddle, bool vertical) {
    Judgement j;
    const OrderRule rule = vertical ? OrderRule::TopBeforeBottom : OrderRule::LeftBeforeRight;
    const int count = static_cast<int>(s.size());
    for (int a = 0; a < count; ++a) {
        for (int b = 0; b < count; ++b) {
            if (a == b || skipped.contains(a) || skipped.contains(b) || s[a].isDot() ||
                s[b].isDot() || sideOfMiddle.contains({a, b}) || sideOfMiddle.contains({b, a})) {
                continue;
            }
            const Box& p = s[a].box;  // the upper or left one
            const Box& q = s[b].box;
            const double gap = vertical ? p.bottom - q.top : q.left - p.right;
            const double shared = vertical ? overlap(p.left, p.right, q.left, q.right)
                                           : overlap(p.bottom, p.top, q.bottom, q.top);
            const double narrower =
                vertical ? std::min(p.width(), q.width()) : std::min(p.height(), q.height());
            const double wider =
                vertical ? std::max(p.width(), q.width()) : std::max(p.height(), q.height());
            // Strokes of different sizes side by side are as often of different components
            // (止's 竖s, 半's 撇 beside its 竖) as of one: only like ones are judged.
            const double share = vertical ? 0.35 : 0.5;
            if (gap >= kNeighbourGap || shared < 0.5 * narrower || shared < share * wider ||
                gap <= -30) {
                continue;
            }
            // Side by side, only strokes standing level at both ends: 止's short left 竖 comes
            // after the taller middle one. A 撇 or 点 left of a 竖 is left to the middle rule
            // (少, 当, 步 and 示 write the 竖 first).
            const bool besideMiddle = s[b].classes.intersects(Shu | ShuZhe) &&
                                      s[b].medianBox.width() < 0.67 * s[b].medianBox.height() &&
                                      s[a].classes.intersects(Pie | Dian);
            if (!vertical && (besideMiddle || std::abs(p.top - q.top) > 0.25 * wider ||
                              std::abs(p.bottom - q.bottom) > 0.25 * wider)) {
                continue;
            }
            if (gap < kApart) {
                if (!meetingOf(s[a], s[b]) && gapBetween(s[a], s[b]) > kTouch) {
                    doubt(j, a, b);
                }
                continue;
            }
            expectBefore(j, rule, a, b);
        }
    }
    return j;
}

RuleVerdict verdictOf(const Judgement& j) {
    if (!j.warnings.empty()) {
        return RuleVerdict::Broken;
    }
    if (j.undecided) {
        return RuleVerdict::Undecided;
    }
    return j.judged ? RuleVerdict::Obeyed : RuleVerdict::NotApplicable;
}

}  // namespace

const char* ruleKey(OrderRule rule) {
    switch (rule) {
        case OrderRule::TopBeforeBottom:
            return "top-first";
        case OrderRule::LeftBeforeRight:
            return "left-first";
        case OrderRule::HengBeforeShu:
            return "heng-before-shu";
        case OrderRule::EnclosureClosedLast:
            return "enclosure-last";
        case OrderRule::DotOnTopFirst:
            return "top-dot-first";
        case OrderRule::WalkLast:
            return "walk-last";
        case OrderRule::MiddleBeforeSides:
            return "middle-first";
    }
    return "?";
}

const char* ruleText(OrderRule rule) {
    switch (rule) {
        case OrderRule::TopBeforeBottom:
            return "top before bottom";
        case OrderRule::LeftBeforeRight:
            return "left before right";
        case OrderRule::HengBeforeShu:
            return "横 before the 竖 crossing it";
        case OrderRule::EnclosureClosedLast:
            return "an enclosure's bottom 横 after its inside";
        case OrderRule::DotOnTopFirst:
            return "a 点 on top before the 横 under it";
        case OrderRule::WalkLast:
            return "辶 and 廴 last";
        case OrderRule::MiddleBeforeSides:
            return "the middle before the sides";
    }
    return "?";
}

bool ruleFromKey(const std::string& key, OrderRule& rule) {
    for (std::size_t i = 0; i < kOrderRuleCount; ++i) {
        if (key == ruleKey(static_cast<OrderRule>(i))) {
            rule = static_cast<OrderRule>(i);
            return true;
        }
    }
    return false;
}

RuleCheck checkRules(const std::vector<StrokeShape>& strokes) {
    RuleCheck check;
    if (strokes.size() < 2) {
        return check;
    }
    const Box whole = boxOf(strokes);
    Judgement walk;
    const std::vector<Walk> walks = findWalks(strokes, whole, walk);
    std::set<int> skipped;
    for (int i = 0; i < static_cast<int>(strokes.size()); ++i) {
        if (isBaseNa(strokes[i], whole)) {
            skipped.insert(i);
        }
    }
    for (const Walk& w : walks) {
        skipped.insert(w.turn);
    }
    Judgement middle;
    const std::vector<MiddleShape> middles = findMiddleShapes(strokes, middle);
    std::set<std::pair<int, int>> sideOfMiddle;
    for (const MiddleShape& m : middles) {
        sideOfMiddle.insert({m.left, m.middle});
        sideOfMiddle.insert({m.middle, m.right});
    }
    const std::array<Judgement, kOrderRuleCount> judgements = {
        neighbours(strokes, skipped, sideOfMiddle, true),
        neighbours(strokes, skipped, sideOfMiddle, false),
        hengBeforeShu(strokes),
        enclosureClosedLast(strokes),
        dotOnTopFirst(strokes),
        [&] {
            Judgement j = walkLast(strokes, walks);
            j.undecided = j.undecided || walk.undecided;
            return j;
        }(),
        middleBeforeSides(middles, middle),
    };
    for (std::size_t i = 0; i < kOrderRuleCount; ++i) {
        check.verdicts[i] = verdictOf(judgements[i]);
        check.warnings.insert(check.warnings.end(), judgements[i].warnings.begin(),
                              judgements[i].warnings.end());
    }
    return check;
}

}  // namespace qir::tools
