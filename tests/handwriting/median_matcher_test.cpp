// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/median_matcher.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/handwriting/made_up_characters.h"

namespace qir::handwriting {
namespace {

using namespace qir::testing;

MedianMatcher madeUpMatcher() {
    MedianTemplates templates;
    for (const auto& [hanzi, medians] : madeUpCharacters()) {
        templates.characters.push_back(medianTemplate(hanzi, medians));
    }
    return MedianMatcher(std::move(templates));
}

std::string first(const Candidates& candidates) {
    return candidates.empty() ? std::string() : candidates.front().hanzi;
}

TEST(MedianMatcher, NamesEachCharacterFirstWhereverAndHoweverLargeItIsDrawn) {
    const MedianMatcher matcher = madeUpMatcher();
    for (const auto& [hanzi, medians] : madeUpCharacters()) {
        for (const auto& [shift, scale] :
             {std::pair{Point{0, 0}, 1.0}, {Point{0.08, -0.05}, 0.8}, {Point{-0.06, 0.07}, 1.15}}) {
            const Candidates candidates = matcher.rank(drawnByHand(medians, shift, scale), 10);
            EXPECT_EQ(first(candidates), hanzi) << "scale " << scale;
            for (std::size_t i = 1; i < candidates.size(); ++i) {
                EXPECT_LE(candidates[i - 1].score, candidates[i].score);  // best first
            }
        }
    }
}

TEST(MedianMatcher, ForgivesTwoStrokesSwappedTwoRunTogetherAndAShortOneLeftOut) {
    const MedianMatcher matcher = madeUpMatcher();
    Ink wang = drawnByHand(mediansOf(kWang));
    std::swap(wang[1], wang[2]);  // the 竖 before the middle 横
    EXPECT_EQ(first(matcher.rank(wang, 10)), kWang);

    Ink kou = drawnByHand(mediansOf(kKou));  // 丨 run on into 𠃍
    kou[0].insert(kou[0].end(), kou[1].begin(), kou[1].end());
    kou.erase(kou.begin() + 1);
    EXPECT_EQ(first(matcher.rank(kou, 10)), kKou);

    Ink kouLeftOut = drawnByHand(mediansOf(kKou));
    kouLeftOut.pop_back();  // 口 without its closing 一
    EXPECT_EQ(first(matcher.rank(kouLeftOut, 10)), kKou);
}

TEST(MedianMatcher, ShowsTheCharacterGrowingStrokeByStroke) {
    const MedianMatcher matcher = madeUpMatcher();
    const Ink san = drawnByHand(mediansOf(kSan));
    EXPECT_EQ(first(matcher.rank(std::span(san).first(1), 10)), kYi);
    // 三's first two strokes are more like it than like 二, which is offered too.
    const Candidates afterTwo = matcher.rank(std::span(san).first(2), 10);
    EXPECT_EQ(first(afterTwo), kSan);
    EXPECT_TRUE(std::any_of(afterTwo.begin(), afterTwo.end(),
                            [](const Candidate& c) { return c.hanzi == kEr; }));
    EXPECT_EQ(first(matcher.rank(drawnByHand(mediansOf(kEr)), 10)), kEr);
    EXPECT_EQ(first(matcher.rank(san, 10)), kSan);
    // After one stroke, characters that start with a 横 are offered before they are finished.
    const Candidates afterOne = matcher.rank(std::span(san).first(1), 10);
    EXPECT_TRUE(std::any_of(afterOne.begin(), afterOne.end(),
                            [](const Candidate& c) { return c.hanzi == kWang; }));
}

TEST(MedianMatcher, AnswersAtMostTheCountAskedAndNothingForNoInkOrTooMany) {
    const MedianMatcher matcher = madeUpMatcher();
    const Ink shi = drawnByHand(mediansOf(kShi));
    EXPECT_EQ(matcher.rank(shi, 3).size(), 3u);
    EXPECT_TRUE(matcher.rank(shi, 0).empty());
    EXPECT_TRUE(matcher.rank({}, 10).empty());
    EXPECT_TRUE(matcher.rank(Ink(kMostStrokes + 1, shi[0]), 10).empty());
}

TEST(MedianMatcher, ADotOrAStrokeOfOnePointIsMatchedWithoutFault) {
    const MedianMatcher matcher = madeUpMatcher();
    const Candidates dot = matcher.rank(Ink{{{0.5, 0.5}}}, 10);
    EXPECT_FALSE(dot.empty());
    for (const Candidate& candidate : dot) {
        EXPECT_TRUE(std::isfinite(candidate.score));
    }
}

TEST(Ink, CleaningDropsPointsThatAreNotFiniteAndBringsFarOnesIn) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(cleaned({{nan, 0.5}, {0.5, infinity}}).empty());
    const Polyline far = cleaned({{0.5, 0.5}, {nan, nan}, {1e12, -1e12}});
    ASSERT_EQ(far.size(), 2u);
    EXPECT_LT(far[1].x, 10);
    EXPECT_GT(far[1].y, -10);
    EXPECT_EQ(cleaned(Polyline(100000, Point{0.5, 0.5})).size(), kMostPointsPerStroke);
}

}  // namespace
}  // namespace qir::handwriting
