// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One-pixel lines of the window's design (frames, bevels, cell edges) at any device pixel
// ratio. A line one logical pixel wide, drawn plainly at 1.25 or 1.5 device pixels to one,
// falls across pixel edges and can vanish under a neighbour's fill; snapped, each line covers
// whole device pixels, at least one, and neighbouring lines neither overlap nor leave a gap.

#include <QColor>
#include <QRect>
#include <QRectF>

class QPainter;

namespace qir {

// `logical` in the painter's coordinates, its edges moved to the nearest device pixel edges,
// at least one device pixel wide and high.
QRectF snappedToDevicePixels(const QPainter& painter, const QRectF& logical);

// Fills `logical` (usually one pixel wide or high) snapped to device pixels.
void fillSnapped(QPainter& painter, const QRect& logical, const QColor& colour);

// A one-pixel frame along `rect`'s outermost pixels, snapped: `topLeft` on the top and left
// sides, `bottomRight` on the bottom and right.
void drawSnappedEdge(QPainter& painter, const QRect& rect, const QColor& topLeft,
                     const QColor& bottomRight);

}  // namespace qir
