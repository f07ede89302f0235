// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rebuilding the stroke display table for the character being shown.

#include <string>

namespace qir::store {
class CharacterStore;
}  // namespace qir::store

namespace qir::strokes {

inline const std::string kStrokeJpegFile = "temp.jpg";

// Empties the store's stroke display table and fills it with one row per stroke step of
// `currentHanzi` that the store finds, each row's Photo being the step's picture as a BMP
// file, then makes the first row current. A step with an empty picture ends the rebuild
// there, the last row added staying current. Errors are not caught: the rows posted so far
// stay, the row being added stays pending and the step query stays at the failing step. A
// `currentHanzi` that is no character (gb2312::isHanzi) leaves the table empty.
void ShowStrokeOrder(const std::string& currentHanzi, store::CharacterStore& store,
                     int screenDepth);

}  // namespace qir::strokes
