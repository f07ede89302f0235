// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/test_glyphs.h"
#include "tools/store_builder/glyph.h"
#include "tools/store_builder/stroke_picture.h"
#include "tools/store_builder/writing_animation.h"

namespace qir::tools {
namespace {

int grey(const QImage& image, int x, int y) {
    return image.pixelColor(x, y).red();
}

TEST(Glyph, FlipsTheDataBoxToScreenCoordinates) {
    const Glyph glyph = makeGlyph(testing::twoBars());
    ASSERT_EQ(glyph.strokes.size(), 2u);
    // y = 800 in the data is 100 on screen: the median starts at the top.
    EXPECT_EQ(glyph.strokes[0].median.first(), QPointF(250, 100));
    EXPECT_EQ(glyph.strokes[0].outline.boundingRect(), QRectF(100, 100, 300, 700));
    EXPECT_DOUBLE_EQ(glyph.strokes[0].medianLength, 700);
}

TEST(Glyph, CutsAMedianAfterAGivenTravel) {
    const QPolygonF median{QPointF(0, 0), QPointF(10, 0), QPointF(10, 10)};
    EXPECT_EQ(medianPrefix(median, 5), (QPolygonF{QPointF(0, 0), QPointF(5, 0)}));
    EXPECT_EQ(medianPrefix(median, 15), (QPolygonF{QPointF(0, 0), QPointF(10, 0), QPointF(10, 5)}));
    EXPECT_EQ(medianPrefix(median, 50), median);
    EXPECT_EQ(medianPrefix(median, 0), (QPolygonF{QPointF(0, 0)}));
}

TEST(StepPictures, ShowWrittenNewestAndPendingStrokesOnTheGuide) {
    const auto pictures = renderStrokeSteps(makeGlyph(testing::twoBars()));
    ASSERT_EQ(pictures.size(), 2u);
    const RenderStyle style = pictureStyle();
    const QPoint left(15, 27), right(45, 27), empty(20, 55);
    EXPECT_EQ(pictures[0].size(), QSize(kStepPictureSize, kStepPictureSize));
    EXPECT_EQ(pictures[0].pixelColor(left), style.newest);
    EXPECT_EQ(pictures[0].pixelColor(right), style.pending);
    EXPECT_EQ(pictures[1].pixelColor(left), style.written);
    EXPECT_EQ(pictures[1].pixelColor(right), style.newest);
    EXPECT_EQ(pictures[1].pixelColor(empty), style.background);
    // The frame runs round the edge; the centre lines are dashed.
    EXPECT_EQ(pictures[0].pixelColor(0, 55), style.guide);
    EXPECT_EQ(pictures[0].pixelColor(61, 55), style.guide);
    int guideOnCentreLine = 0;
    for (int y = 1; y < 61; ++y) {
        guideOnCentreLine += pictures[0].pixelColor(31, y) == style.guide ? 1 : 0;
    }
    EXPECT_GT(guideOnCentreLine, 20);
    EXPECT_LT(guideOnCentreLine, 45);
}

TEST(StepPictures, DrawTheNewestStrokeOverStrokesStillToCome) {
    // A bar written first and a bar crossing it later.
    CharacterData data = testing::twoBars();
    data.strokes[1].outline = parseSvgPath("M 0 400 L 1000 400 L 1000 500 L 0 500 Z");
    data.strokes[1].median = {{0, 450}, {1000, 450}};
    const auto pictures = renderStrokeSteps(makeGlyph(data));
    const QPoint crossing(15, 27);  // inside both bars
    EXPECT_EQ(pictures[0].pixelColor(crossing), pictureStyle().newest);
    EXPECT_EQ(pictures[1].pixelColor(crossing), pictureStyle().newest);
    EXPECT_EQ(pictures[1].pixelColor(15, 15), pictureStyle().written);
}

TEST(WritingPlan, LeadsInWritesEachStrokeToTheEndPausesAndHolds) {
    const Glyph glyph = makeGlyph(testing::twoBars());
    const WritingPace pace;
    const auto plan = planWriting(glyph, pace);
    const int strokeFrames = 9;  // 700 units at 80 a frame
    ASSERT_EQ(plan.size(), static_cast<std::size_t>(pace.leadInFrames + 2 * strokeFrames +
                                                    pace.pauseFrames + pace.holdFrames));
    EXPECT_EQ(plan.front(), FramePlan{});
    EXPECT_EQ(plan[static_cast<std::size_t>(pace.leadInFrames)], (FramePlan{0, 0, 1.0 / 9}));
    EXPECT_EQ(plan[static_cast<std::size_t>(pace.leadInFrames + strokeFrames - 1)],
              (FramePlan{0, 0, 1.0}));
    EXPECT_EQ(plan[static_cast<std::size_t>(pace.leadInFrames + strokeFrames)], FramePlan{1});
    EXPECT_TRUE(std::all_of(plan.end() - pace.holdFrames, plan.end(),
                            [](const FramePlan& f) { return f == FramePlan{2}; }));
    EXPECT_TRUE(std::is_sorted(plan.begin(), plan.end(), [](const auto& a, const auto& b) {
        return a.completedStrokes < b.completedStrokes;
    }));
}

TEST(WritingPlan, KeepsShortAndLongStrokesWithinBounds) {
    CharacterData data = testing::twoBars();
    data.strokes[0].median = {{250, 800}};                // a dot
    data.strokes[1].median = {{750, 800}, {750, -5000}};  // very long
    const WritingPace pace;
    const auto plan = planWriting(makeGlyph(data), pace);
    const auto framesOf = [&](int stroke) {
        return std::count_if(plan.begin(), plan.end(),
                             [&](const FramePlan& f) { return f.activeStroke == stroke; });
    };
    EXPECT_EQ(framesOf(0), pace.minStrokeFrames);
    EXPECT_EQ(framesOf(1), pace.maxStrokeFrames);
}

TEST(WritingFrames, RevealTheStrokeAlongItsMedian) {
    const Glyph glyph = makeGlyph(testing::twoBars());
    WritingRenderer renderer(glyph);
    const QImage empty = renderer.frame(FramePlan{});
    EXPECT_EQ(empty.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(empty.size(), kClipFrameSize);
    EXPECT_EQ(grey(empty, 45, 20), 255);  // the clip shows no stroke before it is written

    const QImage started = renderer.frame({0, 0, 1.0 / 9});
    EXPECT_EQ(grey(started, 45, 20), 0);     // near the median's start
    EXPECT_EQ(grey(started, 45, 90), 255);   // far along it: not yet
    EXPECT_EQ(grey(started, 105, 20), 255);  // the other stroke

    const QImage half = renderer.frame({0, 0, 0.5});
    EXPECT_EQ(grey(half, 45, 50), 0);
    EXPECT_EQ(grey(half, 45, 90), 255);

    const QImage done = renderer.frame({2});
    EXPECT_EQ(grey(done, 45, 90), 0);
    EXPECT_EQ(grey(done, 105, 90), 0);
    // Sixteen grey levels only, so that the clip compresses well.
    for (int y = 0; y < done.height(); ++y) {
        for (int x = 0; x < done.width(); ++x) {
            ASSERT_EQ(grey(done, x, y) % 17, 0) << x << "," << y;
        }
    }
}

TEST(WritingFrames, RefuseToGoBackToFewerFinishedStrokes) {
    const Glyph glyph = makeGlyph(testing::twoBars());
    WritingRenderer renderer(glyph);
    renderer.frame(FramePlan{2});
    EXPECT_THROW(renderer.frame(FramePlan{1}), std::logic_error);
}

}  // namespace
}  // namespace qir::tools
