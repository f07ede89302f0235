// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Characters as learners draw them on the pad, made up with fixed seeds for the handwriting
// benchmarks: the medians in writing order, the whole character moved (up to 8 % of the box),
// scaled (0.8 to 1.2) and rotated (up to 8 degrees), each stroke moved on its own (up to 5 %)
// and lengthened or shortened (up to 15 %), wobbled and sampled at a mouse's rate; and the
// slips learners make.

#include <optional>
#include <random>
#include <vector>

#include "handwriting/ink.h"

namespace qir::handwriting::bench {

enum class Slip {
    None,
    OrderSlip,  // two neighbouring strokes swapped
    Joined,     // two touching strokes drawn as one
    LeftOut     // one short stroke left out
};

// `medians` drawn with `slip`; nothing when the character cannot carry it (one stroke).
std::optional<Ink> drawnByALearner(const std::vector<Polyline>& medians, Slip slip,
                                   std::mt19937& random);

}  // namespace qir::handwriting::bench
