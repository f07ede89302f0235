// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/mark_survey.h"

#include <numeric>

#include "sheet/sheet_layout.h"
#include "sheet/sheet_style.h"

namespace qir::sheet {
namespace {

// A step box of one cell and the header's overview of two; a mark's diameter is a share of a
// cell.
constexpr double kCell = 100;
const QRectF kStepBox(0, 0, kCell, kCell);
const QRectF kOverview(0, 0, 2 * kCell, 2 * kCell);
constexpr double kDiameter = style::kStartMarkShare * kCell;

MarkFaults& operator+=(MarkFaults& sum, const MarkFaults& more) {
    sum.coveredNumbers += more.coveredNumbers;
    sum.onWrittenInk += more.onWrittenInk;
    sum.hidingOwnStroke += more.hidingOwnStroke;
    return sum;
}

}  // namespace

MarkSurvey& MarkSurvey::operator+=(const MarkSurvey& other) {
    marks += other.marks;
    overview += other.overview;
    steps += other.steps;
    return *this;
}

MarkSurvey surveyMarks(const geometry::DrawnStrokes& glyph, MarkRule rule) {
    MarkSurvey survey;
    const int strokes = glyph.strokeCount();
    if (strokes <= kOverviewMostStrokes) {
        std::vector<MarkPlace> marks;
        if (rule == MarkRule::Placed) {
            marks = placeOverviewMarks(glyph, kOverview, kDiameter);
        } else {
            for (int stroke = 0; stroke < strokes; ++stroke) {
                marks.push_back(plainMark(glyph, kOverview, stroke, kDiameter));
            }
        }
        std::vector<int> all(static_cast<std::size_t>(strokes));
        std::iota(all.begin(), all.end(), 0);
        survey.overview = markFaults(glyph, kOverview, marks, all);
        survey.marks += strokes;
    }
    std::vector<MarkPlace> steps;
    if (rule == MarkRule::Placed) {
        steps = placeStepMarks(glyph, kStepBox, kDiameter);
    } else {
        for (int stroke = 0; stroke < strokes; ++stroke) {
            steps.push_back(plainMark(glyph, kStepBox, stroke, kDiameter));
        }
    }
    survey.steps = stepFaults(glyph, kStepBox, steps);
    survey.marks += strokes;
    return survey;
}

}  // namespace qir::sheet
