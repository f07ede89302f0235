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

#include "sheet/sheet_options.h"

namespace qir::sheet {

struct SheetMetrics {
    int columns = 0;          // boxes to a row
    double cell = 0;          // the side of a step cell and of a practice box
    double left = 0;          // where the rows start: the rows' labels go left of it
    double width = 0;         // the printable width
    double headHeight = 0;    // the title and the name line at the top of each page, if any
    double titleHeight = 0;   // of those, the title's line
    double headerHeight = 0;  // the character's header: a cell and three quarters
    double sectionGap = 0;    // between the header, the steps and the practice rows
    double stepRowGap = 0;    // between two rows of steps
    double blockGap = 0;      // between two characters
    double footerHeight = 0;  // the page footer, at the bottom of the printable area
    double bodyTop = 0;       // where the blocks start: below the page's head
    double bodyHeight = 0;    // what the blocks may fill: the printable height less head and foot
};

// The row kinds, top to bottom.
enum class RowKind { Header, Steps, Trace, Build, Copy };

struct SheetRow {
    RowKind kind = RowKind::Header;
    int firstStroke = 0;   // Steps and Build: the stroke (from 0) the row's first box shows
    int boxes = 0;         // how many boxes carry something: Steps and Build fill only these
    double gapBefore = 0;  // its distance from the row above, within its block
    double top = 0;        // below the top of the page's body
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

// Boxes of the chosen size, as many to a row as the width takes beside the rows' labels, the
// rows centred; a page too narrow for six such boxes gets six smaller ones.
SheetMetrics metricsFor(const QSizeF& printableArea, const SheetOptions& options = {});

// The rows of one character of `strokes` strokes, stacked from a top of 0: its header, its
// steps, then the practice rows `options` choose.
std::vector<SheetRow> blockRows(const SheetMetrics& metrics, int strokes,
                                const SheetOptions& options = {});

// Plans the sheet for characters of the given stroke counts, in order. With `fillPage`, each
// character starts a page and empty rows fill it to its foot.
SheetPlan planSheet(const QSizeF& printableArea, const std::vector<int>& strokeCounts,
                    const SheetOptions& options = {});

// The square of box `index` of `row` (its step cell or practice box).
QRectF boxRect(const SheetMetrics& metrics, const SheetRow& row, int index);

// The band left of a row where its label goes.
QRectF labelRect(const SheetMetrics& metrics, const SheetRow& first, const SheetRow& last);

// The page's head: the title's line, then the name line below it.
QRectF titleRect(const SheetMetrics& metrics);
QRectF nameLineRect(const SheetMetrics& metrics);

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
