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

#include "store/stroke_vectors.h"

namespace qir::sheet {

// The strokes in the drawing box: the data's 1024 units with y pointing down, a data point
// (x, y) standing at (x, 900 - y).
struct GlyphShapes {
    std::vector<QPainterPath> outlines;
    std::vector<QPolygonF> medians;
    int strokeCount() const { return static_cast<int>(outlines.size()); }
};

GlyphShapes glyphShapes(const store::StrokeVectors& vectors);

// Maps the drawing box onto `square`, keeping style::kGlyphInset free on each edge.
QTransform glyphTransform(const QRectF& square);

// Fills strokes `first` to `last` (not included) in `colour`.
void fillStrokes(QPainter& painter, const GlyphShapes& glyph, const QRectF& square, int first,
                 int last, const QColor& colour);

// The 田字格 guide: a frame and dashed lines through the middle. `unit` is one millimetre in
// device units.
void drawGuide(QPainter& painter, const QRectF& square, double unit);

// A drop-shaped mark of `diameter` device units holding `number`, whose point touches the
// start of `stroke`'s median and points along it: where the stroke begins and which way it
// goes. It stays inside `square`.
void drawStartMark(QPainter& painter, const GlyphShapes& glyph, const QRectF& square, int stroke,
                   int number, double diameter);

}  // namespace qir::sheet
