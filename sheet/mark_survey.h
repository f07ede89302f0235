// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a character's start marks read on a sheet, by today's placement or the plain rule of
// earlier sheets: the header's overview and every step, at the sheet's own proportions.

#ifndef QIR_SHEET_INTERNALS
#error "sheet/mark_survey.h is private to its folder"
#endif

#include "geometry/drawing.h"
#include "sheet/mark_placement.h"

namespace qir::sheet {

enum class MarkRule { Plain, Placed };

struct MarkSurvey {
    int marks = 0;
    MarkFaults overview;  // all strokes written; only for characters that get an overview
    MarkFaults steps;     // each step: the strokes before it written, its own stroke new
    MarkSurvey& operator+=(const MarkSurvey& other);
};

MarkSurvey surveyMarks(const geometry::DrawnStrokes& glyph, MarkRule rule);

}  // namespace qir::sheet
