// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where everything of a practice sheet goes, before anything is drawn. Each character takes a
// block of rows: a header (the character large, its stroke count, every stroke's start), the
// step sequence, then the practice rows of 田字格 boxes: one to trace the whole character, the
// strokes added one at a time, and empty rows to copy. Blocks flow onto as many pages as
// they need; a block that fits on a page is never split.
//
// All lengths are millimetres, measured from the top-left corner of the page's printable area.

#ifndef QIR_SHEET_INTERNALS
#error "sheet/sheet_layout.h is private to its folder"
#endif

#include <QRectF>
#include <QSizeF>
#include <vector>

namespace qir::sheet {

struct SheetMetrics {
    int columns = 0;          // boxes to a row
    double cell = 0;          // the side of a step cell and of a practice box
    double headerHeight = 0;  // the character's header: two cells
    double sectionGap = 0;    // between the header, the steps and the practice rows
    double stepRowGap = 0;    // between two rows of steps
    double blockGap = 0;      // between two characters
    double footerHeight = 0;  // the page footer, at the bottom of the printable area
    double bodyHeight = 0;    // what the blocks may fill: the printable height less the footer
};

// The row kinds, top to bottom.
enum class RowKind { Header, Steps, Trace, Build, Copy };

struct SheetRow {
    RowKind kind = RowKind::Header;
    int firstStroke = 0;   // Steps and Build: the stroke (from 0) the row's first box shows
    int boxes = 0;         // how many boxes carry something: Steps and Build fill only these
    double gapBefore = 0;  // its distance from the row above, within its block
    double top = 0;        // on its page
    double height = 0;
};

// A character's rows on one page: all of them, or part when the block is taller than a page.
struct PlacedBlock {
    int character = 0;  // index into the sheet's characters
    std::vector<SheetRow> rows;
};

struct SheetPage {
    std::vector<PlacedBlock> blocks;
};

struct SheetPlan {
    SheetMetrics metrics;
    std::vector<SheetPage> pages;
};

// Cells of about 15 mm, as many to a row as the width takes (at least six).
SheetMetrics metricsFor(const QSizeF& printableArea);

// The rows of one character of `strokes` strokes, stacked from a top of 0.
std::vector<SheetRow> blockRows(const SheetMetrics& metrics, int strokes);

// Plans the sheet for characters of the given stroke counts, in order.
SheetPlan planSheet(const QSizeF& printableArea, const std::vector<int>& strokeCounts);

// The square of box `index` of `row` (its step cell or practice box).
QRectF boxRect(const SheetMetrics& metrics, const SheetRow& row, int index);

// Beyond this many strokes the starts crowd each other in one picture, and the header shows
// no overview; the steps still mark every start.
inline constexpr int kOverviewMostStrokes = 10;

// The header's parts: the character in the Kai font, the overview of every stroke's start
// (for characters of up to kOverviewMostStrokes), the text.
QRectF headerCharacterRect(const SheetMetrics& metrics, const SheetRow& header);
QRectF headerOverviewRect(const SheetMetrics& metrics, const SheetRow& header);
QRectF headerTextRect(const SheetMetrics& metrics, const SheetRow& header, bool withOverview);

// Where the footer's two lines go.
QRectF footerRect(const SheetMetrics& metrics);

}  // namespace qir::sheet
