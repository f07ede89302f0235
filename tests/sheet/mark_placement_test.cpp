// SPDX-License-Identifier: GPL-3.0-or-later
// Where the start marks go on made-up characters: marks that would cover each other, a short
// stroke a mark would hide, a mark that would sit on a written stroke; and the mark's shape.
#include "sheet/mark_placement.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "tests/sheet/test_strokes.h"

namespace qir::sheet {
namespace {

using testing::rectangleStroke;

const QRectF kOverview(0, 0, 200, 200);
const QRectF kStepBox(0, 0, 100, 100);
constexpr double kDiameter = 20;

geometry::DrawnStrokes drawn(const store::StrokeVectors& vectors) {
    return geometry::drawnStrokes(vectors);
}

std::vector<int> firstStrokes(int count) {
    std::vector<int> strokes;
    for (int i = 0; i < count; ++i) {
        strokes.push_back(i);
    }
    return strokes;
}

// Three strokes setting off from nearly one point, as 口's first strokes or 京's lower ones do.
store::StrokeVectors fanFromOnePoint() {
    return {{rectangleStroke(100, 140, 100, 700, {120, 690}, {120, 110}),
             rectangleStroke(100, 700, 660, 700, {110, 680}, {690, 680}),
             rectangleStroke(130, 170, 100, 690, {150, 680}, {150, 110})}};
}

TEST(MarkPlacement, MarksOfStrokesStartingTogetherLeaveEveryNumberFree) {
    const geometry::DrawnStrokes glyph = drawn(fanFromOnePoint());
    std::vector<MarkPlace> plain;
    for (int stroke = 0; stroke < glyph.strokeCount(); ++stroke) {
        plain.push_back(plainMark(glyph, kOverview, stroke, kDiameter));
    }
    // The plain rule puts them on top of each other: the case is a real one.
    ASSERT_GT(markFaults(glyph, kOverview, plain, firstStrokes(3)).coveredNumbers, 0);

    const std::vector<MarkPlace> marks = placeOverviewMarks(glyph, kOverview, kDiameter);
    ASSERT_EQ(marks.size(), 3U);
    EXPECT_EQ(markFaults(glyph, kOverview, marks, firstStrokes(3)).coveredNumbers, 0);
    for (const MarkPlace& mark : marks) {
        EXPECT_TRUE(kOverview.contains(markShape(mark).boundingRect())) << mark.stroke;
        // A mark that stood off still leads to its own stroke's start.
        EXPECT_LT(QLineF(mark.leader() ? mark.start : mark.tip(), mark.start).length(), mark.radius)
            << mark.stroke;
        for (const MarkPlace& other : marks) {
            if (&other != &mark) {
                EXPECT_FALSE(coversNumber(other, mark)) << other.stroke << " on " << mark.stroke;
            }
        }
    }
}

TEST(MarkPlacement, AShortNewStrokeStaysVisibleAndWrittenStrokesStayFree) {
    // A long bar written first, and a dot just right of its top as the new stroke: the plain
    // place of the dot's mark lies back along the dot's way, on the bar.
    const store::StrokeVectors vectors{
        {rectangleStroke(300, 420, 0, 860, {360, 850}, {360, 10}),
         rectangleStroke(430, 490, 620, 680, {435, 675}, {485, 625})}};
    const geometry::DrawnStrokes glyph = drawn(vectors);
    const MarkPlace plain = plainMark(glyph, kStepBox, 1, kDiameter);
    const MarkFaults before = markFaults(glyph, kStepBox, {plain}, {0});
    ASSERT_GT(before.onWrittenInk + before.hidingOwnStroke, 0);

    const MarkPlace placed = placeStepMark(glyph, kStepBox, 1, kDiameter);
    const MarkFaults after = markFaults(glyph, kStepBox, {placed}, {0});
    EXPECT_EQ(after.onWrittenInk, 0);
    EXPECT_EQ(after.hidingOwnStroke, 0);
    EXPECT_TRUE(kStepBox.contains(markShape(placed).boundingRect()));
    // It points the way the dot goes, and reaches its start or leads to it.
    EXPECT_GT(placed.heading.x(), 0.6);
    EXPECT_NEAR(placed.heading.x(), placed.heading.y(), 0.05);
    EXPECT_LT(QLineF(placed.leader() ? placed.start : placed.tip(), placed.start).length(),
              placed.radius);
}

TEST(MarkPlacement, AMarkWithRoomAtItsStartStaysWhereItAlwaysWas) {
    const store::StrokeVectors vectors{{rectangleStroke(400, 600, 0, 500, {500, 490}, {500, 10})}};
    const geometry::DrawnStrokes glyph = drawn(vectors);
    const MarkPlace plain = plainMark(glyph, kStepBox, 0, kDiameter);
    const MarkPlace placed = placeStepMark(glyph, kStepBox, 0, kDiameter);
    EXPECT_EQ(placed.centre, plain.centre);
    EXPECT_EQ(placed.radius, plain.radius);
    EXPECT_FALSE(placed.leader());
}

TEST(MarkPlacement, AMarkIsOneClosedShapeWithoutAGapWhereItsPointJoinsItsRoundPart) {
    MarkPlace mark;
    mark.start = {50, 50};
    mark.heading = {1, 0};
    mark.radius = 20;
    mark.centre = {30, 50};
    const QPainterPath shape = markShape(mark);
    EXPECT_EQ(shape.toFillPolygons().size(), 1);
    // Filled by either rule, the overlap of the round part and the point is ink.
    for (const Qt::FillRule rule : {Qt::WindingFill, Qt::OddEvenFill}) {
        QPainterPath path = shape;
        path.setFillRule(rule);
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawPath(path);
        painter.end();
        for (int x = 32; x <= 48; ++x) {
            EXPECT_EQ(image.pixelColor(x, 50), QColor(Qt::black)) << x << " rule " << rule;
        }
        EXPECT_EQ(image.pixelColor(30 + 34 - 2, 50), QColor(Qt::black));  // near the tip
        EXPECT_EQ(image.pixelColor(30 + 34 + 3, 50), QColor(Qt::white));  // beyond it
    }
}

}  // namespace
}  // namespace qir::sheet
