// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing a character from its stroke vectors into a square of the page, and the 田字格 guide
// behind it. The painter works in device units; squares are given in them too.

#ifndef QIR_SHEET_INTERNALS
#error "sheet/glyph_drawing.h is private to its folder"
#endif

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>
#include <vector>

#include "geometry/drawing.h"
#include "sheet/mark_placement.h"
#include "sheet/sheet_options.h"

namespace qir::sheet {

// The strokes in the drawing box (geometry/drawing.h).
using GlyphShapes = geometry::DrawnStrokes;
inline GlyphShapes glyphShapes(const geometry::CharacterStrokes& strokes) {
    return geometry::drawnStrokes(strokes);
}

// Maps the drawing box onto `square`, keeping style::kGlyphInset free on each edge.
QTransform glyphTransform(const QRectF& square);

// Fills strokes `first` to `last` (not included) in `colour`, edged with `edge`.
void fillStrokes(QPainter& painter, const GlyphShapes& glyph, const QRectF& square, int first,
                 int last, const QColor& colour, const QPen& edge = QPen(Qt::NoPen));

// The box's frame and, inside it, the dashed lines of `grid`. `unit` is one millimetre in
// device units.
void drawGuide(QPainter& painter, const QRectF& square, double unit, Grid grid = Grid::Tian);

// A drop-shaped mark holding `number`, placed by mark_placement.h: one closed shape whose
// point shows which way the stroke goes, and a thin leader to the stroke's start where the
// mark had to stand off.
void drawStartMark(QPainter& painter, const MarkPlace& mark, int number, double unit);

}  // namespace qir::sheet
