// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the two recognisers' lists become the one the pad shows.

#include "handwriting/candidate.h"

namespace qir::handwriting {

// How many candidates each recogniser hands to the combination.
inline constexpr std::size_t kCombinedFrom = 30;

// The `count` best of both lists: our matcher's, then zinnia's first choices that ours did not
// name, to fill the list when ours is short (no vector table, a character past its reach).
// Measured on every character, any weight given to zinnia's order within ours lowered the
// share named first (bench/handwriting), so zinnia only fills. Either list may be empty.
Candidates combined(const Candidates& own, const Candidates& zinnia, std::size_t count);

}  // namespace qir::handwriting
