// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where each numbered start mark goes, without painting: a mark sits just before its stroke's
// start and points the way the stroke sets off; where that place covers another mark, hides a
// short stroke or lies on ink already written, it moves outwards, shrinks, and stands off with
// a thin leader back to the start.

#ifndef QIR_SHEET_INTERNALS
#error "sheet/mark_placement.h is private to its folder"
#endif

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <vector>

#include "geometry/drawing.h"

namespace qir::sheet {

struct MarkPlace {
    int stroke = 0;
    QPointF start;    // where the stroke begins, in the square's units
    QPointF heading;  // the unit vector the stroke sets off along
    QPointF centre;   // of the mark's round part
    double radius = 0;
    bool leader() const;  // the mark's point does not reach the start
    QPointF tip() const;  // the end of the mark's point
};

// The mark as one closed shape: its round part and its point united.
QPainterPath markShape(const MarkPlace& mark);

// The marks of the header's overview: every stroke drawn, every stroke marked. `diameter` is
// a full-size mark's, in the square's units.
std::vector<MarkPlace> placeOverviewMarks(const geometry::DrawnStrokes& glyph, const QRectF& square,
                                          double diameter);

// The mark of one step, where strokes before `stroke` are written and `stroke` is new.
MarkPlace placeStepMark(const geometry::DrawnStrokes& glyph, const QRectF& square, int stroke,
                        double diameter);

// The marks of every step of the character, in order: the same as placeStepMark for each.
std::vector<MarkPlace> placeStepMarks(const geometry::DrawnStrokes& glyph, const QRectF& square,
                                      double diameter);

// Today's sheets placed marks by this rule alone: the drop's point on the start, no search.
MarkPlace plainMark(const geometry::DrawnStrokes& glyph, const QRectF& square, int stroke,
                    double diameter);

// How a set of marks reads on its square: `written` strokes are ink (the step's own stroke
// excluded), and each mark's own stroke is measured for how much of it the mark hides.
struct MarkFaults {
    int coveredNumbers = 0;   // marks whose number another mark covers
    int onWrittenInk = 0;     // marks more than a quarter on written strokes
    int hidingOwnStroke = 0;  // marks that hide more than half of their own stroke
};
MarkFaults markFaults(const geometry::DrawnStrokes& glyph, const QRectF& square,
                      const std::vector<MarkPlace>& marks, const std::vector<int>& written);

// The faults of every step's mark, `marks` holding one mark for each step in order: at each,
// the strokes before it are written.
MarkFaults stepFaults(const geometry::DrawnStrokes& glyph, const QRectF& square,
                      const std::vector<MarkPlace>& marks);

// Whether `a` covers the number of `b`.
bool coversNumber(const MarkPlace& a, const MarkPlace& b);

}  // namespace qir::sheet
