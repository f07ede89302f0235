// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One line of a stroke file: "x,y" pairs separated by blanks, in a box of 1000 with y down.

#include <optional>
#include <string>
#include <string_view>

#include "practice/stroke_judge.h"

namespace qir::practice {

inline constexpr double kStrokeFileBox = 1000;

// The stroke of `line` in the writing box, its points a mouse's 8 ms apart; nothing for a
// blank line. Throws std::invalid_argument naming the first pair that is not two numbers.
std::optional<DrawnStroke> parseStrokeLine(std::string_view line);

}  // namespace qir::practice
