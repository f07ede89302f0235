// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Strokes in drawing coordinates: the data's 1024-unit box with y pointing down, a data point
// (x, y) standing at (x, 900 - y), ready for QPainter; and the maps from that box onto a
// square of a page or a screen.

#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>
#include <vector>

#include "geometry/strokes.h"

namespace qir::geometry {

// The side of the data's box, and the data's y of the drawing's top edge.
inline constexpr double kDataBox = 1024.0;
inline constexpr double kBaseline = 900.0;

QPointF toDrawing(const Point& point);

// The outline as a filled path. Some outlines run over themselves; every part of them is ink.
QPainterPath outlinePath(const std::vector<OutlineCommand>& outline);
// The median as a polyline.
QPolygonF medianPolyline(const std::vector<Point>& median);

// A character's strokes in the drawing box.
struct DrawnStrokes {
    std::vector<QPainterPath> outlines;
    std::vector<QPolygonF> medians;
    int strokeCount() const { return static_cast<int>(outlines.size()); }
};
DrawnStrokes drawnStrokes(const CharacterStrokes& strokes);

// The length of a polyline, and its part from the start up to `length` units of travel.
double polylineLength(const QPolygonF& line);
QPolygonF polylinePrefix(const QPolygonF& line, double length);

// Maps the drawing box onto `square`, keeping `inset` free on each edge (in the square's
// units).
QTransform boxToSquare(const QRectF& square, double inset = 0);

}  // namespace qir::geometry
