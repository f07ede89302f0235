// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rebuilding the stroke display table for the character being shown.

#include <string>

namespace qir::store {
class Query;
class Table;
}  // namespace qir::store

namespace qir::strokes {

inline const std::string kStrokeJpegFile = "temp.jpg";

// Empties `tablebmp` and fills it with one row per stroke step of `currentHanzi` that
// `querybs` finds, each row's Photo being the step's picture as a BMP file, then makes the
// first row current. A step with an empty picture ends the rebuild there, the last row
// added staying current. Errors are not caught: the rows posted so far stay, the row being
// added stays pending and `querybs` stays at the failing step. A `currentHanzi` that is no
// character (gb2312::isHanzi) leaves the table empty and `querybs` untouched.
void ShowStrokeOrder(const std::string& currentHanzi, store::Query& querybs, store::Table& tablebmp,
                     int screenDepth);

// The pattern that finds every step row of a character.
std::string strokePattern(const std::string& currentHanzi);

}  // namespace qir::strokes
