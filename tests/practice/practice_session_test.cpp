// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/practice_session.h"

#include <gtest/gtest.h>

#include "tests/practice/made_up_character.h"

namespace qir::practice {
namespace {

using testing::drawnAlong;
using testing::madeUpCharacter;

TEST(PracticeSessionTest, CountsMissesPerStrokeAndScoresTheStrokesRightAtTheFirstTry) {
    const std::vector<Polyline> medians = madeUpCharacter();
    PracticeSession session(medians, Leniency::Normal);
    EXPECT_TRUE(session.draw(drawnAlong(medians[0])).right());
    EXPECT_EQ(session.draw(drawnAlong(reversed(medians[1]))).outcome, Outcome::Backwards);
    EXPECT_EQ(session.nextStroke(), 1);
    EXPECT_TRUE(session.draw(drawnAlong(medians[1])).right());
    EXPECT_TRUE(session.draw(drawnAlong(medians[2])).right());
    EXPECT_FALSE(session.finished());
    EXPECT_TRUE(session.draw(drawnAlong(medians[3])).right());
    EXPECT_TRUE(session.finished());
    EXPECT_EQ(session.draw(drawnAlong(medians[0])).outcome, Outcome::Extra);
    EXPECT_EQ(session.mistakes(), (std::vector<int>{0, 1, 0, 0}));
    EXPECT_EQ(session.scorePercent(), 75);

    session.restart();
    EXPECT_EQ(session.nextStroke(), 0);
    EXPECT_EQ(session.mistakes(), (std::vector<int>{0, 0, 0, 0}));
}

TEST(PracticeSessionTest, TheHintIsDueAfterTheSetNumberOfMissesOnOneStroke) {
    const std::vector<Polyline> medians = madeUpCharacter();
    PracticeSession session(medians, Leniency::Normal, 3);
    const DrawnStroke wrong = drawnAlong(medians[0], {0, 0.6});
    session.draw(wrong);
    session.draw(wrong);
    EXPECT_FALSE(session.hintDue());
    session.draw(wrong);
    EXPECT_TRUE(session.hintDue());
    EXPECT_TRUE(session.draw(drawnAlong(medians[0])).right());
    EXPECT_FALSE(session.hintDue());  // the next stroke has had no miss yet
    EXPECT_EQ(session.scorePercent(), 75);
}

}  // namespace
}  // namespace qir::practice
