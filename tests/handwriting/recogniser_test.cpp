// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/recogniser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "tests/handwriting/made_up_characters.h"
#include "tests/support/scratch_directory.h"

namespace qir::handwriting {
namespace {

using namespace qir::testing;

class RecogniserTest : public ::testing::Test {
  protected:
    void SetUp() override { writeMadeUpTable(folder.path()); }

    ScratchDirectory folder;
    // No model: our matcher alone, whatever the machine has installed.
    RecogniserSources sources{folder.path(), folder.path() / "no.model"};
};

TEST_F(RecogniserTest, AnswersAfterEveryStrokeAndTakesStrokesBack) {
    Recogniser recogniser(sources);
    const Ink san = drawnByHand(mediansOf(kSan));
    EXPECT_EQ(recogniser.addStroke(san[0]).front().hanzi, kYi);
    EXPECT_EQ(recogniser.addStroke(san[1]).front().hanzi, kSan);  // growing
    EXPECT_EQ(recogniser.addStroke(san[2]).front().hanzi, kSan);
    EXPECT_LE(recogniser.candidates().size(), kCandidatesShown);
    EXPECT_EQ(recogniser.undo().front().hanzi, kSan);
    EXPECT_EQ(recogniser.ink().size(), 2u);
    EXPECT_EQ(recogniser.undo().front().hanzi, kYi);
    recogniser.clear();
    EXPECT_TRUE(recogniser.ink().empty());
    EXPECT_TRUE(recogniser.candidates().empty());
    EXPECT_TRUE(recogniser.undo().empty());  // nothing to take back
}

TEST_F(RecogniserTest, BadStrokesGiveCandidatesOrNoneAndNeverHang) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Recogniser recogniser(sources);
    recogniser.prepare();
    EXPECT_TRUE(recogniser.addStroke({}).empty());  // a stroke of no point is left out
    EXPECT_TRUE(recogniser.addStroke({{nan, nan}}).empty());
    EXPECT_TRUE(recogniser.ink().empty());

    EXPECT_FALSE(recogniser.addStroke({{0.5, 0.5}}).empty());  // one dot
    recogniser.clear();
    // Far outside the pad: still a stroke, matched as well as it can be.
    EXPECT_FALSE(recogniser.addStroke({{-500, 0.5}, {1e9, 0.5}}).empty());
    recogniser.clear();

    // A pen lifted for a minute changes nothing: the strokes carry no times.
    const Ink shi = drawnByHand(mediansOf(kShi));
    recogniser.addStroke(shi[0]);
    EXPECT_EQ(recogniser.addStroke(shi[1]).front().hanzi, kShi);
    recogniser.clear();

    // 200 strokes: past any character, so no candidates, and quickly.
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; ++i) {
        recogniser.addStroke(shi[static_cast<std::size_t>(i % 2)]);
    }
    EXPECT_EQ(recogniser.ink().size(), 200u);
    EXPECT_TRUE(recogniser.candidates().empty());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    recogniser.undo();
    EXPECT_EQ(recogniser.ink().size(), 199u);
}

TEST_F(RecogniserTest, WhenOurListIsShortTheModelIsAskedAndItsAbsenceReported) {
    // Ten characters: one stroke leaves several of them out, so the model is asked to fill.
    Recogniser recogniser(sources);
    const Ink wang = drawnByHand(mediansOf(kWang));
    for (const Polyline& stroke : wang) {
        recogniser.addStroke(stroke);
    }
    EXPECT_EQ(recogniser.candidates().front().hanzi, kWang);
    ASSERT_EQ(recogniser.problems().size(), 1u);
    EXPECT_EQ(recogniser.problems()[0],
              "The handwriting model " + sources.model.string() + " is missing.");
}

TEST_F(RecogniserTest, WithNeitherTheTableNorTheModelTheListIsEmptyAndBothAreNamed) {
    Recogniser recogniser({folder.path() / "elsewhere", folder.path() / "no.model"});
    EXPECT_TRUE(recogniser.addStroke({{0.2, 0.5}, {0.8, 0.5}}).empty());
    const std::vector<std::string> problems = recogniser.problems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("bishunvec.db"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("is missing"), std::string::npos) << problems[1];
    // The next stroke neither tries again nor fails differently.
    EXPECT_TRUE(recogniser.addStroke({{0.5, 0.2}, {0.5, 0.8}}).empty());
    EXPECT_EQ(recogniser.problems(), problems);
}

}  // namespace
}  // namespace qir::handwriting
