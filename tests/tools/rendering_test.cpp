// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/tools/test_glyphs.h"
#include "tools/store_builder/character_reading.h"
#include "tools/store_builder/glyph.h"
#include "tools/store_builder/stroke_picture.h"
#include "tools/store_builder/svg_path.h"
#include "tools/store_builder/writing_animation.h"

namespace qir::tools {
namespace {

int grey(const QImage& image, int x, int y) {
    return image.pixelColor(x, y).red();
}

// The ink of a frame: how much darker than white it is, summed, and where its middle lies.
struct Ink {
    double amount = 0;
    QPointF centre;
};

Ink inkOf(const QImage& frame, const QImage& blank) {
    Ink ink;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const double dark = std::max(0, grey(blank, x, y) - grey(frame, x, y));
            ink.amount += dark;
            ink.centre += dark * QPointF(x, y);
        }
    }
    if (ink.amount > 0) {
        ink.centre /= ink.amount;
    }
    return ink;
}

// The ink each of the stroke's writing frames shows, in order.
std::vector<Ink> growthOf(const Glyph& glyph, int stroke) {
    WritingRenderer renderer(glyph);
    std::vector<Ink> growth;
    QImage before;
    for (const FramePlan& plan : planWriting(glyph)) {
        if (plan.completedStrokes == stroke && plan.activeStroke < 0) {
            before = renderer.frame(plan);
        }
        if (plan.activeStroke == stroke) {
            if (before.isNull()) {
                before = renderer.frame(FramePlan{stroke});
            }
            growth.push_back(inkOf(renderer.frame(plan), before));
        }
    }
    return growth;
}

TEST(Glyph, FlipsTheDataBoxToScreenCoordinates) {
    const Glyph glyph = makeGlyph(testing::twoBars());
    ASSERT_EQ(glyph.strokes.size(), 2u);
    // y = 800 in the data is 100 on screen: the median starts at the top.
    EXPECT_EQ(glyph.strokes[0].median.first(), QPointF(250, 100));
    EXPECT_EQ(glyph.strokes[0].outline.boundingRect(), QRectF(100, 100, 300, 700));
    EXPECT_DOUBLE_EQ(glyph.strokes[0].medianLength, 700);
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

TEST(WritingFrames, EvenADotGrowsFromItsStartOverFourFrames) {
    // A 点 of 140 units, written down to the right, as wide as it is long.
    CharacterData data;
    data.strokes.push_back(
        {parseSvgPath("M 380 720 L 520 720 L 560 560 L 420 540 Z"), {{430, 690}, {530, 590}}});
    const Glyph glyph = makeGlyph(data);
    const std::vector<Ink> growth = growthOf(glyph, 0);
    ASSERT_GE(growth.size(), 4u);
    for (std::size_t i = 1; i < growth.size(); ++i) {
        EXPECT_GT(growth[i].amount, growth[i - 1].amount * 1.1) << "frame " << i;
    }
    EXPECT_LT(growth.front().amount, 0.5 * growth.back().amount);
    // The first frame shows the head, up and to the left of the whole dot's middle.
    EXPECT_LT(growth.front().centre.x(), growth.back().centre.x() - 1);
    EXPECT_LT(growth.front().centre.y(), growth.back().centre.y() - 1);
}

TEST(WritingFrames, EveryStrokeOfRealCharactersGrowsOverAtLeastFourFrames) {
    const std::filesystem::path data = QIR_STROKE_DATA_DIR;
    if (!std::filesystem::exists(data / "package.json")) {
        GTEST_SKIP() << "the stroke data is not installed (scripts/stroke-data.sh)";
    }
    for (const char* character : {"心", "永", "冰"}) {
        const Glyph glyph = makeGlyph(readCharacterFile(data, QString::fromUtf8(character)));
        for (int stroke = 0; stroke < static_cast<int>(glyph.strokes.size()); ++stroke) {
            const std::vector<Ink> growth = growthOf(glyph, stroke);
            ASSERT_GE(growth.size(), 4u) << character << " stroke " << stroke + 1;
            for (std::size_t i = 1; i < 4; ++i) {
                EXPECT_GT(growth[i].amount, growth[i - 1].amount)
                    << character << " stroke " << stroke + 1 << " frame " << i + 1;
            }
            EXPECT_LT(growth.front().amount, 0.6 * growth.back().amount)
                << character << " stroke " << stroke + 1;
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
