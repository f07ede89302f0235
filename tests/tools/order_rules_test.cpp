// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/order_checker/order_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "tools/order_checker/order_check.h"
#include "tools/order_checker/order_report.h"
#include "tools/order_checker/rule_exceptions.h"
#include "tools/order_checker/stroke_geometry.h"

namespace qir::tools {
namespace {
namespace fs = std::filesystem;
using Median = std::vector<PathPoint>;

const fs::path kRealData = QIR_STROKE_DATA_DIR;
const fs::path kReference = QIR_ORDER_REFERENCE;
const fs::path kCorrections = QIR_ORDER_CORRECTIONS;
const fs::path kRuleExceptions = QIR_ORDER_RULE_EXCEPTIONS;

// Made-up strokes in the data's box (y up), medians as a brush writes them.
Median heng(double left, double right, double y) {
    return {{left, y}, {left + 30, y - 8}, {(left + right) / 2, y + 4}, {right, y + 10}};
}
Median shu(double x, double top, double bottom) {
    return {{x, top}, {x + 15, top - 20}, {x + 10, (top + bottom) / 2}, {x + 8, bottom}};
}
Median hengZhe(double left, double right, double top, double bottom) {
    return {{left, top}, {right - 20, top + 20}, {right + 10, top - 10}, {right, bottom}};
}
const Median kShuGou = {{500, 800}, {505, 200}, {480, 150}, {380, 190}};  // 亅
// 这's 辶 as the stroke data writes it: 点, 横折折撇, and the flat 捺 under the rest.
const Median kWalkDot = {{245, 775}, {339, 709}, {357, 674}};
const Median kWalkTurn = {{113, 483}, {139, 480}, {176, 486}, {278, 520}, {293, 520},
                          {318, 501}, {313, 457}, {284, 400}, {277, 370}, {280, 347},
                          {308, 294}, {324, 244}, {321, 217}, {307, 204}};
const Median kWalkNa = {{112, 153}, {157, 141}, {252, 176}, {307, 179}, {402, 157},
                        {583, 87},  {722, 52},  {814, 48},  {925, 76}};

RuleCheck check(const std::vector<Median>& medians) {
    CharacterData data;
    for (const Median& median : medians) {
        data.strokes.push_back({{}, median});
    }
    return checkRules(shapesOf(data));
}

bool warns(const RuleCheck& result, OrderRule rule) {
    return std::any_of(result.warnings.begin(), result.warnings.end(),
                       [rule](const RuleWarning& w) { return w.rule == rule; });
}

// Each rule on a character that obeys it and on the same strokes in an order that breaks it:
// the break is warned with the steps named, the obeying order is judged and not warned.
struct RuleCase {
    const char* name;
    OrderRule rule;
    std::vector<Median> obeying;
    std::vector<int> breaking;  // the obeying strokes' indexes in the breaking order
    int early;                  // the warning's steps in the breaking order
    int late;
};

TEST(OrderRules, EachRuleJudgesAnObeyingOrderAndWarnsOfABreakingOne) {
    const std::vector<RuleCase> cases = {
        {"二",
         OrderRule::TopBeforeBottom,
         {heng(300, 700, 560), heng(150, 850, 450)},
         {1, 0},
         0,
         1},
        {"川", OrderRule::LeftBeforeRight, {shu(400, 750, 250), shu(500, 750, 250)}, {1, 0}, 0, 1},
        {"十", OrderRule::HengBeforeShu, {heng(150, 850, 500), shu(500, 800, 100)}, {1, 0}, 0, 1},
        {"日",
         OrderRule::EnclosureClosedLast,
         {shu(200, 700, 200), hengZhe(200, 800, 700, 200), heng(230, 770, 450),
          heng(200, 800, 205)},
         {0, 1, 3, 2},
         2,
         3},
        {"亠",
         OrderRule::DotOnTopFirst,
         {{{480, 800}, {520, 760}, {540, 730}}, heng(200, 800, 650)},
         {1, 0},
         0,
         1},
        {"这-like",
         OrderRule::WalkLast,
         {heng(450, 850, 550), shu(650, 800, 300), kWalkDot, kWalkTurn, kWalkNa},
         {2, 3, 4, 0, 1},
         1,
         3},
        {"小",
         OrderRule::MiddleBeforeSides,
         {kShuGou, {{330, 500}, {300, 440}, {250, 350}}, {{560, 500}, {620, 440}, {660, 380}}},
         {1, 0, 2},
         0,
         1},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RuleCheck obeyed = check(c.obeying);
        EXPECT_EQ(obeyed.verdict(c.rule), RuleVerdict::Obeyed);
        EXPECT_TRUE(obeyed.warnings.empty()) << ruleKey(obeyed.warnings.front().rule);

        std::vector<Median> reordered;
        for (const int i : c.breaking) {
            reordered.push_back(c.obeying[i]);
        }
        const RuleCheck broken = check(reordered);
        EXPECT_EQ(broken.verdict(c.rule), RuleVerdict::Broken);
        const auto named = std::find_if(broken.warnings.begin(), broken.warnings.end(),
                                        [&](const RuleWarning& w) { return w.rule == c.rule; });
        ASSERT_NE(named, broken.warnings.end());
        EXPECT_EQ(named->early, c.early);
        EXPECT_EQ(named->late, c.late);
    }
}

TEST(OrderRules, LeaveWhatTheGeometryCannotDecideUnjudged) {
    // One stroke: nothing to order.
    const RuleCheck alone = check({heng(150, 850, 500)});
    EXPECT_TRUE(alone.warnings.empty());
    EXPECT_EQ(alone.verdict(OrderRule::HengBeforeShu), RuleVerdict::NotApplicable);

    // 上: the short 横 only touches the 竖 it starts from, the long one is its foot.
    const RuleCheck touching =
        check({shu(400, 800, 150), heng(410, 700, 500), heng(150, 850, 150)});
    EXPECT_FALSE(warns(touching, OrderRule::HengBeforeShu));

    // A 横 touching a 竖 a little way in: neither a touch nor a crossing, so not judged.
    const RuleCheck nearEnd = check({shu(500, 800, 100), heng(475, 850, 500)});
    EXPECT_FALSE(warns(nearEnd, OrderRule::HengBeforeShu));
    EXPECT_EQ(nearEnd.verdict(OrderRule::HengBeforeShu), RuleVerdict::Undecided);

    // 车 on the left: the closing 提 rises; it crosses the 竖 after it.
    const RuleCheck ti = check({shu(500, 800, 100), {{300, 250}, {400, 280}, {650, 380}}});
    EXPECT_FALSE(warns(ti, OrderRule::HengBeforeShu));

    // 里: 土's 横 crossing low on a 竖 that comes down from above may follow it.
    const RuleCheck low = check({shu(500, 800, 100), heng(250, 750, 260)});
    EXPECT_FALSE(warns(low, OrderRule::HengBeforeShu));

    // 弋: the 点 above the 横's right end is written last, and tops nothing.
    const RuleCheck ge = check({heng(200, 800, 600), {{760, 760}, {800, 720}, {820, 690}}});
    EXPECT_FALSE(warns(ge, OrderRule::DotOnTopFirst));

    // 处: 夂's 捺 starts under its 横撇, not at its left, and 卜 follows: no 辶 there.
    const RuleCheck chu = check({{{272, 754}, {311, 709}, {197, 464}, {90, 319}},
                                 {{254, 509}, {404, 545}, {423, 527}, {303, 255}, {72, 63}},
                                 {{173, 346}, {272, 324}, {575, 119}, {729, 60}, {931, 67}},
                                 shu(600, 769, 186),
                                 {{658, 517}, {782, 438}, {829, 370}}});
    EXPECT_FALSE(warns(chu, OrderRule::WalkLast));

    // 忄: the 点s come before a 竖 that runs on far below them.
    const RuleCheck heart = check({{{148, 523}, {139, 442}, {110, 364}, {107, 336}},
                                   {{306, 577}, {363, 530}, {391, 488}},
                                   shu(250, 800, -22)});
    EXPECT_FALSE(warns(heart, OrderRule::MiddleBeforeSides));
}

TEST(StrokeGeometry, TellsCrossingsFromTouchesAndMeasuresGaps) {
    CharacterData data;
    data.strokes = {{{}, {{100, 500}, {900, 500}}},   // 横
                    {{}, {{500, 900}, {500, 100}}},   // 竖 crossing it in the middle
                    {{}, {{890, 900}, {890, 500}}},   // 竖 ending on its right end
                    {{}, {{100, 300}, {900, 300}}}};  // 横 200 below
    const std::vector<StrokeShape> s = shapesOf(data);
    const auto crossing = meetingOf(s[0], s[1]);
    ASSERT_TRUE(crossing.has_value());
    EXPECT_DOUBLE_EQ(crossing->inFirst, 400);
    EXPECT_DOUBLE_EQ(crossing->inSecond, 400);
    const auto touch = meetingOf(s[0], s[2]);
    ASSERT_TRUE(touch.has_value());
    EXPECT_LT(std::min(touch->inFirst, touch->inSecond), 15);
    EXPECT_FALSE(meetingOf(s[0], s[3]).has_value());
    EXPECT_DOUBLE_EQ(gapBetween(s[0], s[3]), 200);
    EXPECT_DOUBLE_EQ(gapBetween(s[0], s[1]), 0);
    EXPECT_DOUBLE_EQ(distanceTo({500, 450}, s[0]), 50);
    EXPECT_EQ(s[1].heightsAt(500).size(), 1u);
    EXPECT_TRUE(s[0].heightsAt(950).empty());
}

TEST(RuleExceptionFile, ParsesEntriesAndRefusesBrokenLines) {
    const RuleExceptions exceptions = RuleExceptions::parse(
        "# comment\n\n耳  heng-before-shu | its 提 closes it\n耳 top-first | also\n", "ex.txt");
    ASSERT_NE(exceptions.find("耳", OrderRule::HengBeforeShu), nullptr);
    EXPECT_EQ(exceptions.find("耳", OrderRule::HengBeforeShu)->reason, "its 提 closes it");
    EXPECT_EQ(exceptions.find("耳", OrderRule::HengBeforeShu)->line, 3);
    EXPECT_EQ(exceptions.find("耳", OrderRule::WalkLast), nullptr);
    EXPECT_EQ(exceptions.entries().size(), 2u);

    const std::vector<std::pair<const char*, const char*>> broken = {
        {"耳 heng-before-shu\n", "ex.txt:1: no reason"},
        {"耳 heng-before-shu |  \n", "ex.txt:1: no reason"},
        {"耳 | why\n", "ex.txt:1: no rule"},
        {"耳 sideways | why\n", "ex.txt:1: unknown rule: sideways"},
        {"耳闻 top-first | why\n", "ex.txt:1: not one character"},
        {"耳 top-first | a\n耳 top-first | b\n", "ex.txt:2: 耳 top-first is named twice"},
    };
    for (const auto& [text, message] : broken) {
        try {
            RuleExceptions::parse(text, "ex.txt");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const RuleExceptionError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
}

class RealRuleCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(kRealData / "package.json") || !fs::exists(kReference)) {
            GTEST_SKIP() << "the stroke data or the exported reference is not there";
        }
        reference = readReference(kReference);
    }
    ReferenceOrders reference;
};

// 裒's 臼 was once reordered with its bottom 一 before its 𠃍 and inner 一; the rule finds it.
TEST_F(RealRuleCheck, FindsAnEnclosureClosedTooEarlyAndPassesItsCorrection) {
    const std::vector<CharacterEntry> pou = charactersFromText("裒");
    const OrderCorrections early =
        OrderCorrections::parse("裒 1 2 7 8 4 10 5 9 3 12 11 6 | closed early\n", "early.txt");
    const CharacterCheck before = checkOrder(pou, {}, kRealData, reference, early).characters[0];
    EXPECT_EQ(before.rules.verdict(OrderRule::EnclosureClosedLast), RuleVerdict::Broken);

    const OrderCorrections reviewed = OrderCorrections::read(kCorrections);
    const CharacterCheck after = checkOrder(pou, {}, kRealData, reference, reviewed).characters[0];
    EXPECT_EQ(after.rules.verdict(OrderRule::EnclosureClosedLast), RuleVerdict::Obeyed);
    EXPECT_TRUE(after.rules.warnings.empty());
}

// The tallies keep the corrected characters apart from the rest, count an explained warning
// as explained, and the catalogue fails only on an unexplained one; the report names both.
TEST_F(RealRuleCheck, TalliesAndReportsWarningsByGroup) {
    const std::vector<CharacterEntry> characters = charactersFromText("裒口");
    const std::set<std::string> catalogue = {characters[0].key, characters[1].key};
    const OrderCorrections early =
        OrderCorrections::parse("裒 1 2 7 8 4 10 5 9 3 12 11 6 | closed early\n", "early.txt");
    const auto enclosure = static_cast<std::size_t>(OrderRule::EnclosureClosedLast);
    const auto tally = [&](const OrderCheckResult& r, RuleGroup g) {
        return r.rules[static_cast<std::size_t>(g)][enclosure];
    };

    const OrderCheckResult unexplained =
        checkOrder(characters, catalogue, kRealData, reference, early);
    EXPECT_EQ(tally(unexplained, RuleGroup::Corrected).warned, 1);
    EXPECT_EQ(tally(unexplained, RuleGroup::Corrected).explained, 0);
    EXPECT_EQ(tally(unexplained, RuleGroup::Rest).checked, 1);  // 口
    EXPECT_EQ(tally(unexplained, RuleGroup::Rest).warned, 0);
    EXPECT_EQ(tally(unexplained, RuleGroup::All).checked, 2);
    EXPECT_EQ(unexplained.unexplainedRuleWarningsInCatalogue(), 1);

    const RuleExceptions exceptions = RuleExceptions::parse(
        "裒 enclosure-last | for the test\n裒 top-first | and this\n", "ex.txt");
    const OrderCheckResult explained =
        checkOrder(characters, catalogue, kRealData, reference, early, exceptions);
    EXPECT_EQ(tally(explained, RuleGroup::Catalogue).explained, 1);
    EXPECT_EQ(explained.unexplainedRuleWarningsInCatalogue(), 0);
    EXPECT_TRUE(explained.staleExceptions.empty());

    std::ostringstream out;
    writeReport(out, unexplained, {"hanzi-writer-data 2.0.1", "early.txt", reference.name});
    const std::string text = out.str();
    EXPECT_NE(text.find("== Rule warnings in corrected characters, not explained (1) =="),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("rule:      enclosure-last (an enclosure's bottom 横 after its inside)"),
              std::string::npos)
        << text;
    std::ostringstream reviewed;
    writeReport(reviewed, explained, {"hanzi-writer-data 2.0.1", "early.txt", reference.name});
    EXPECT_NE(reviewed.str().find("; explained (line 1): for the test"), std::string::npos);
}

// Every reordering says which rule it follows, and every rule exception still explains a
// warning.
TEST_F(RealRuleCheck, ReviewedFilesNameTheirRulesAndExplainLiveWarnings) {
    const OrderCorrections corrections = OrderCorrections::read(kCorrections);
    const std::regex tagged(
        R"(\[(top-first|left-first|heng-before-shu|enclosure-last|top-dot-first|walk-last|)"
        R"(middle-first|component-whole)\] .+)");
    for (const OrderCorrection* entry : corrections.reorderings()) {
        EXPECT_TRUE(std::regex_match(entry->reason, tagged))
            << entry->text << " (line " << entry->line << "): " << entry->reason;
    }

    const RuleExceptions exceptions = RuleExceptions::read(kRuleExceptions.string());
    std::string text;
    for (const auto& [key, entry] : exceptions.entries()) {
        text += entry.text;
    }
    const OrderCheckResult result = checkOrder(charactersFromText(QString::fromStdString(text)), {},
                                               kRealData, reference, corrections, exceptions);
    for (const RuleException* stale : result.staleExceptions) {
        ADD_FAILURE() << stale->text << " " << ruleKey(stale->rule) << " (line " << stale->line
                      << ") explains a rule that does not warn";
    }
    for (const CharacterCheck& c : result.characters) {
        EXPECT_FALSE(c.rules.warnings.empty()) << c.character.text.toStdString();
    }
}

}  // namespace
}  // namespace qir::tools
