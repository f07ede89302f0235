// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/stroke_judge.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/practice/made_up_character.h"

namespace qir::practice {
namespace {

using testing::drawnAlong;
using testing::madeUpCharacter;

class StrokeJudgeTest : public ::testing::Test {
  protected:
    std::vector<Polyline> medians = madeUpCharacter();
    StrokeJudge judge{medians};

    // The strokes before `count` drawn as the character has them, moved by `shift`.
    std::vector<DrawnStroke> drawnUpTo(int count, Point shift = {0, 0}) const {
        std::vector<DrawnStroke> drawn;
        for (int i = 0; i < count; ++i) {
            drawn.push_back(drawnAlong(medians[static_cast<std::size_t>(i)], shift));
        }
        return drawn;
    }
};

TEST_F(StrokeJudgeTest, EveryStrokeInOrderIsRightAlsoWhereTheLearnerWritesTheCharacterAside) {
    for (const Point shift : {Point{0, 0}, Point{0.07, -0.06}}) {
        const std::vector<DrawnStroke> drawn = drawnUpTo(4, shift);
        for (int k = 0; k < 4; ++k) {
            const Verdict verdict =
                judge.judge(std::span(drawn.data(), static_cast<std::size_t>(k)),
                            drawn[static_cast<std::size_t>(k)]);
            EXPECT_EQ(verdict, (Verdict{Outcome::Right, k + 1, 0})) << "stroke " << k + 1;
        }
    }
}

TEST_F(StrokeJudgeTest, AStrokeDrawnFromItsEndIsBackwardsTheShortDotToo) {
    EXPECT_EQ(judge.judge({}, drawnAlong(reversed(medians[0]))).outcome, Outcome::Backwards);
    const std::vector<DrawnStroke> drawn = drawnUpTo(3);
    EXPECT_EQ(judge.judge(drawn, drawnAlong(reversed(medians[3]))).outcome, Outcome::Backwards);
}

TEST_F(StrokeJudgeTest, ALaterStrokeDrawnTooEarlyNamesTheStrokeItMatches) {
    EXPECT_EQ(judge.judge({}, drawnAlong(medians[1])), (Verdict{Outcome::WrongOrder, 1, 2}));
    // The lower 横 has the shape the first 横 has; its place tells them apart.
    EXPECT_EQ(judge.judge({}, drawnAlong(medians[2])), (Verdict{Outcome::WrongOrder, 1, 3}));
    const std::vector<DrawnStroke> drawn = drawnUpTo(1);
    EXPECT_EQ(judge.judge(drawn, drawnAlong(medians[3])), (Verdict{Outcome::WrongOrder, 2, 4}));
}

TEST_F(StrokeJudgeTest, TheRightShapeInTheWrongPlaceIsWrongPlace) {
    EXPECT_EQ(judge.judge({}, drawnAlong(medians[0], {0, 0.62})).outcome, Outcome::WrongPlace);
    // Once the learner's frame is known, a stroke far off it is wrong even where the
    // character's own stroke lies: the first 横 was drawn low, the lower 横 is not.
    const std::vector<DrawnStroke> low = drawnUpTo(2, {0, 0.1});
    EXPECT_EQ(judge.judge(low, drawnAlong(medians[2])).outcome, Outcome::WrongPlace);
    EXPECT_TRUE(judge.judge(low, drawnAlong(medians[2], {0, 0.1})).right());
}

TEST_F(StrokeJudgeTest, AScribbleOrACurlInTheRightPlaceIsWrongShape) {
    const Polyline zigzag = {{0.2, 0.3}, {0.35, 0.22}, {0.5, 0.38}, {0.65, 0.22}, {0.8, 0.3}};
    EXPECT_EQ(judge.judge({}, drawnAlong(zigzag)).outcome, Outcome::WrongShape);
    Polyline curl;
    for (int i = 0; i <= 40; ++i) {
        curl.push_back({0.5 + 0.2 * std::cos(i * 0.15), 0.3 + 0.1 * std::sin(i * 0.15)});
    }
    EXPECT_FALSE(judge.judge({}, drawnAlong(curl)).right());
}

TEST_F(StrokeJudgeTest, TheDotCanBeHitButNotByATapOrAScribble) {
    const std::vector<DrawnStroke> drawn = drawnUpTo(3);
    EXPECT_TRUE(judge.judge(drawn, drawnAlong(medians[3], {0.01, -0.01})).right());
    EXPECT_TRUE(judge.judge(drawn, drawnAlong({{0.675, 0.435}, {0.75, 0.53}})).right());
    EXPECT_EQ(judge.judge(drawn, {{0.7, 0.47, 0, -1}}).outcome, Outcome::WrongShape);
    const Polyline scribble = {{0.68, 0.44}, {0.74, 0.46}, {0.67, 0.49}, {0.75, 0.5}, {0.68, 0.52}};
    EXPECT_FALSE(judge.judge(drawn, drawnAlong(scribble)).right());
    // Drawn across rather than down the slope.
    EXPECT_FALSE(judge.judge(drawn, drawnAlong({{0.74, 0.44}, {0.68, 0.52}})).right());
}

TEST_F(StrokeJudgeTest, LeniencyWidensWhatPasses) {
    const DrawnStroke aside = drawnAlong(medians[0], {0.105, 0.0});
    EXPECT_FALSE(StrokeJudge(medians, Leniency::Strict).judge({}, aside).right());
    EXPECT_TRUE(StrokeJudge(medians, Leniency::Normal).judge({}, aside).right());
    const DrawnStroke farther = drawnAlong(medians[0], {0.13, 0.0});
    EXPECT_FALSE(StrokeJudge(medians, Leniency::Normal).judge({}, farther).right());
    EXPECT_TRUE(StrokeJudge(medians, Leniency::Gentle).judge({}, farther).right());
}

TEST_F(StrokeJudgeTest, AStrokeAfterTheLastIsExtra) {
    const std::vector<DrawnStroke> drawn = drawnUpTo(4);
    const Verdict verdict = judge.judge(drawn, drawnAlong(medians[0]));
    EXPECT_EQ(verdict, (Verdict{Outcome::Extra, 5, 0}));
    EXPECT_EQ(verdictText(verdict, 4), "wrong: the character has only 4 strokes");
}

TEST_F(StrokeJudgeTest, AbsurdPointsAreJudgedNotTrusted) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(judge.judge({}, {{nan, 0.3, 0, -1}, {infinity, 0.3, 0, -1}}).outcome,
              Outcome::WrongShape);
    EXPECT_EQ(judge.judge({}, {{-1e300, 1e300, 0, -1}, {1e300, -1e300, 0.1, -1}}).outcome,
              Outcome::WrongPlace);
    EXPECT_EQ(judge.judge({}, {}).outcome, Outcome::WrongShape);
    // A right stroke with a hundred thousand points, NaNs among them, is still right.
    DrawnStroke dense;
    for (int i = 0; i <= 100000; ++i) {
        dense.push_back({0.2 + 0.6 * i / 100000.0, i % 1000 == 500 ? nan : 0.3, i * 1e-4, 0.5});
    }
    EXPECT_TRUE(judge.judge({}, dense).right());
}

TEST(VerdictTextTest, SaysEachOutcomeInWords) {
    EXPECT_EQ(verdictText({Outcome::Right, 1, 0}, 3), "right");
    EXPECT_EQ(verdictText({Outcome::WrongPlace, 1, 0}, 3), "wrong place");
    EXPECT_EQ(verdictText({Outcome::WrongShape, 1, 0}, 3), "wrong shape");
    EXPECT_EQ(verdictText({Outcome::Backwards, 1, 0}, 3), "wrong direction: drawn backwards");
    EXPECT_EQ(verdictText({Outcome::WrongOrder, 2, 4}, 5), "wrong order: matches stroke 4");
    EXPECT_EQ(verdictText({Outcome::Extra, 2, 0}, 1), "wrong: the character has only 1 stroke");
}

}  // namespace
}  // namespace qir::practice
