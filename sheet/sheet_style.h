// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The look of a practice sheet: colours, line widths and fonts. Lengths are millimetres. Every
// grey is a pure grey, so that a colour printer lays no colour into it.

#ifndef QIR_SHEET_INTERNALS
#error "sheet/sheet_style.h is private to its folder"
#endif

#include <QColor>
#include <QFont>
#include <QString>

namespace qir::sheet::style {

inline const QColor kFinished{0, 0, 0};  // strokes already written
// The stroke a step adds: red, edged dark so that a black-and-white copy tells it from the
// black strokes already written, and the edge makes it a little heavier.
inline const QColor kNewStroke{230, 40, 40};
inline const QColor kNewStrokeEdge{110, 0, 0};
inline const QColor kPending{228, 228, 228};      // strokes still to come
inline const QColor kTrace{190, 190, 190};        // what the learner traces
inline const QColor kStartMark{30, 90, 170};      // the dot where a stroke starts
inline const QColor kStartNumber{255, 255, 255};  // its number
inline const QColor kGuideFrame{150, 150, 150};   // a 田字格 box's frame
inline const QColor kGuideCross{200, 200, 200};   // its dashed centre lines
inline const QColor kText{0, 0, 0};
inline const QColor kQuietText{100, 100, 100};  // hints and the footer
inline const QColor kRule{170, 170, 170};       // between characters, above the footer

inline constexpr double kGuideFrameWidth = 0.25;
inline constexpr double kGuideCrossWidth = 0.15;
inline constexpr double kRuleWidth = 0.2;
inline constexpr double kNewStrokeEdgeWidth = 0.3;
// The line from a mark that stands off to its stroke's start.
inline constexpr double kLeaderWidth = 0.15;
// The glyph keeps this share of its box's side free on each edge.
inline constexpr double kGlyphInset = 0.06;
// A start mark's diameter, as a share of a step cell's side.
inline constexpr double kStartMarkShare = 0.2;

inline const QString kProgramName = QStringLiteral("QIR Demonstration of stroke order");

// The sheet's text font at `points`.
QFont textFont(double points, bool bold = false);
// The Kai font ("楷体_GB2312") at `points`.
QFont kaiFont(double points);

}  // namespace qir::sheet::style
