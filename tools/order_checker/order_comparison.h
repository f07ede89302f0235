// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Compares a character's strokes, as classified from the data's medians, with the reference's
// sequence of stroke-type letters.

#include <string>
#include <vector>

#include "tools/order_checker/stroke_classes.h"

namespace qir::tools {

enum class OrderVerdict {
    Agree,          // every step's stroke fits the reference's letter for that step
    OrderFault,     // some steps' strokes fit other steps: the same strokes in another order
    Doubt,          // a stroke fits no step: the classification (or a reference) is in doubt
    CountDiffers,   // the two have different numbers of strokes
    UnknownLetter,  // the reference uses a letter it does not define
};

struct OrderComparison {
    OrderVerdict verdict = OrderVerdict::Agree;
    // The steps (0-based) whose stroke does not fit the reference's letter there.
    std::vector<int> differing;
    // Moves that explain them: each cycle lists steps a, b, ...: the stroke at a belongs at b,
    // the one at b at the next, and the last one's at a.
    std::vector<std::vector<int>> cycles;
    // Differing steps no move explains.
    std::vector<int> unexplained;
};

// A stroke fits a letter when its classes and the letter's share one.
OrderComparison compareOrder(const std::vector<StrokeClassSet>& strokes,
                             const std::string& letters);

}  // namespace qir::tools
