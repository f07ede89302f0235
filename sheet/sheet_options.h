// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a teacher chooses for a practice sheet: the paper, the guide in each box, the box's
// size, which practice rows follow each character, a title and a name line at the top of each
// page, and whether the reading stands above the character. The same choices come from the
// sheet dialog, from the command line and from the user's remembered settings; each is
// checked here, once, with the reason a person reads when a value is refused.

#include <QString>
#include <optional>
#include <vector>

#include "sheet/practice_sheet.h"

class QSettings;

namespace qir::sheet {

// The guide drawn in every box: 田字格 (a cross), 米字格 (a cross and both diagonals),
// 九宫格 (three by three), or the frame alone.
enum class Grid { Tian, Mi, Jiu, Plain };

inline constexpr double kSmallestBox = 12.0;  // millimetres
inline constexpr double kLargestBox = 24.0;
inline constexpr double kUsualBox = 16.0;
inline constexpr double kYoungChildrensBox = 20.0;
inline constexpr int kMostTraceRows = 5;
inline constexpr int kMostCopyRows = 10;
inline constexpr int kLongestTitle = 120;  // characters

struct SheetOptions {
    Paper paper = Paper::A4;
    Grid grid = Grid::Tian;
    double box = kUsualBox;  // the side of a box, in millimetres
    int traceRows = 1;       // rows of the whole character in grey to trace
    bool buildRow = true;    // the strokes added one at a time
    int copyRows = 2;        // empty rows to copy into
    bool fillPage = false;   // empty rows to the foot of the page; each character on its own
    QString title{};         // a line at the top of every page; none when empty
    bool nameLine = false;   // 姓名 / 班级 / 日期 to fill in, at the top of every page
    bool pinyin = true;      // the main reading above the character in its header

    bool operator==(const SheetOptions&) const = default;
};

// The field a refused value belongs to, so that a dialog can show the reason beside it.
enum class OptionField { Box, TraceRows, CopyRows, Rows, Title };

struct OptionProblem {
    OptionField field;
    QString reason;  // one line, without a full stop: "the box must be 12 to 24 mm"
};

// Everything wrong with `options`; empty when the sheet can be made. The reasons are in the
// user's language, or in English for the command line.
enum class Language { Users, English };
std::vector<OptionProblem> problemsWith(const SheetOptions& options,
                                        Language language = Language::Users);

// The grid's name on the command line and in the settings ("tian", "mi", "jiu", "plain"),
// and back; nothing for an unknown name.
QString gridName(Grid grid);
std::optional<Grid> gridNamed(const QString& name);
// The grid as a person reads it: "田字格", "米字格", "九宫格", translated "Plain boxes".
QString gridLabel(Grid grid);

// The practice rows as the command line writes them: "trace,steps,copy,copy" (the trace rows,
// the stroke-by-stroke row when on, then the copy rows or "fill"), and back. Throws
// std::invalid_argument with the reason for a spelling it does not know.
QString rowsText(const SheetOptions& options);
void setRowsFromText(SheetOptions& options, const QString& text);

// The user's remembered choices, and remembering them. Values that are missing, damaged or out
// of range fall back to the usual ones, one by one.
SheetOptions loadSheetOptions(QSettings& settings);
void saveSheetOptions(QSettings& settings, const SheetOptions& options);

}  // namespace qir::sheet
