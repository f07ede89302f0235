// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/drawing.h"

#include <gtest/gtest.h>

namespace qir::geometry {
namespace {

// A bar from (100, 100) to (400, 800) in the data's y-up box, its median down the middle.
Stroke bar() {
    return {{{OutlineVerb::MoveTo, {{100, 800}}},
             {OutlineVerb::LineTo, {{400, 800}}},
             {OutlineVerb::QuadTo, {{450, 450}, {400, 100}}},
             {OutlineVerb::LineTo, {{100, 100}}},
             {OutlineVerb::Close, {}}},
            {{250, 800}, {250, 100}}};
}

TEST(Drawing, FlipsTheDataBoxSoTheTopOfTheCharacterComesFirst) {
    EXPECT_EQ(toDrawing({250, 800}), QPointF(250, 100));
    EXPECT_EQ(toDrawing({0, kBaseline}), QPointF(0, 0));
    const DrawnStrokes drawn = drawnStrokes({{bar(), bar()}});
    ASSERT_EQ(drawn.strokeCount(), 2);
    EXPECT_EQ(drawn.medians[0], (QPolygonF{QPointF(250, 100), QPointF(250, 800)}));
    // The curve bulges to the right of the bar, past its straight edge.
    const QRectF bounds = drawn.outlines[0].boundingRect();
    EXPECT_EQ(bounds.top(), 100);
    EXPECT_EQ(bounds.bottom(), 800);
    EXPECT_EQ(bounds.left(), 100);
    EXPECT_GT(bounds.right(), 400);
    EXPECT_EQ(drawn.outlines[0].fillRule(), Qt::WindingFill);
    EXPECT_TRUE(drawn.outlines[0].contains(QPointF(250, 450)));
    EXPECT_FALSE(drawn.outlines[0].contains(QPointF(50, 450)));
}

TEST(Drawing, MeasuresAndCutsPolylinesByTravel) {
    const QPolygonF line{QPointF(0, 0), QPointF(10, 0), QPointF(10, 10)};
    EXPECT_DOUBLE_EQ(polylineLength(line), 20);
    EXPECT_DOUBLE_EQ(polylineLength(QPolygonF{QPointF(3, 4)}), 0);
    EXPECT_EQ(polylinePrefix(line, 5), (QPolygonF{QPointF(0, 0), QPointF(5, 0)}));
    EXPECT_EQ(polylinePrefix(line, 15), (QPolygonF{QPointF(0, 0), QPointF(10, 0), QPointF(10, 5)}));
    EXPECT_EQ(polylinePrefix(line, 50), line);
    EXPECT_EQ(polylinePrefix(line, 0), (QPolygonF{QPointF(0, 0)}));
    EXPECT_TRUE(polylinePrefix(QPolygonF(), 5).isEmpty());
}

TEST(Drawing, MapsTheBoxOntoASquareWithAnInset) {
    const QTransform whole = boxToSquare(QRectF(10, 20, 512, 512));
    EXPECT_EQ(whole.map(QPointF(0, 0)), QPointF(10, 20));
    EXPECT_EQ(whole.map(QPointF(kDataBox, kDataBox)), QPointF(522, 532));
    const QTransform inset = boxToSquare(QRectF(0, 0, 120, 120), 10);
    EXPECT_EQ(inset.map(QPointF(0, 0)), QPointF(10, 10));
    EXPECT_EQ(inset.map(QPointF(kDataBox, kDataBox)), QPointF(110, 110));
}

TEST(Strokes, EachVerbCarriesItsPoints) {
    EXPECT_EQ(pointCount(OutlineVerb::MoveTo), 1);
    EXPECT_EQ(pointCount(OutlineVerb::LineTo), 1);
    EXPECT_EQ(pointCount(OutlineVerb::QuadTo), 2);
    EXPECT_EQ(pointCount(OutlineVerb::CubicTo), 3);
    EXPECT_EQ(pointCount(OutlineVerb::Close), 0);
}

}  // namespace
}  // namespace qir::geometry
