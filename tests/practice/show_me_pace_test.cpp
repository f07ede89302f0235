// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/show_me_pace.h"

#include <gtest/gtest.h>

namespace qir::practice {
namespace {

constexpr double kFrame = 1.0 / 15;

// A long stroke (a whole box: 1024 units, 13 frames at 80 a frame), a 点 shorter than one
// frame's travel, and a stroke longer than 15 frames allow.
const std::vector<double> kStrokes{1.0, 0.02, 1.5};

TEST(ShowMePace, StrokesTakeTheClipsFramesAndRestBetween) {
    // 3 rest + 13, 3 rest + 4 (the least), 3 rest + 15 (the most).
    EXPECT_NEAR(showMeDuration(kStrokes), (3 + 13 + 3 + 4 + 3 + 15) * kFrame, 1e-9);
    EXPECT_NEAR(showMeDuration({}), 0, 1e-12);
}

TEST(ShowMePace, ThePenTravelsEachMedianAtTheClipsSpeed) {
    const ShowMeMoment resting = showMeAt(kStrokes, 2 * kFrame);
    EXPECT_EQ(resting.activeStroke, -1);
    EXPECT_EQ(resting.completedStrokes, 0);
    EXPECT_FALSE(resting.finished);

    // Two of the first stroke's 13 frames in, the pen has gone 2/13 of it: about 79 units a
    // frame, the clips' 80 spread over whole frames.
    const ShowMeMoment first = showMeAt(kStrokes, 5 * kFrame);
    EXPECT_EQ(first.activeStroke, 0);
    EXPECT_NEAR(first.travelled, 2.0 / 13, 1e-9);

    // Halfway through the 点's four frames, half of it is written; the first stroke is done.
    const ShowMeMoment dot = showMeAt(kStrokes, (3 + 13 + 3 + 2) * kFrame);
    EXPECT_EQ(dot.completedStrokes, 1);
    EXPECT_EQ(dot.activeStroke, 1);
    EXPECT_NEAR(dot.travelled, 0.01, 1e-9);

    const ShowMeMoment later = showMeAt(kStrokes, (3 + 13 + 3 + 4 + 1) * kFrame);
    EXPECT_EQ(later.completedStrokes, 2);
    EXPECT_EQ(later.activeStroke, -1);

    const ShowMeMoment end = showMeAt(kStrokes, showMeDuration(kStrokes) + 0.01);
    EXPECT_TRUE(end.finished);
    EXPECT_EQ(end.completedStrokes, 3);
}

}  // namespace
}  // namespace qir::practice
