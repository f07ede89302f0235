// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stepping through the animation table in its own order.

#include <string>

namespace qir::store {

class Table;

// Moves `cursor` (opened on first use) to the row before `currentHanzi`'s and returns that
// row's Filename; returns `currentHanzi` unchanged when the start flag stops the move.
std::string priorCharacter(Table& cursor, const std::string& currentHanzi);
// The same toward the end.
std::string nextCharacter(Table& cursor, const std::string& currentHanzi);

}  // namespace qir::store
