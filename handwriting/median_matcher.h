// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Our own recogniser over the vector table's medians. Drawn strokes and a character's strokes
// are put into their own frames (weighted centre and spread) and aligned in order, as a learner
// of stroke order writes, but forgivingly: two neighbouring strokes may come swapped, one drawn
// stroke may run two of the character's together, a stroke may be left out (cheaply when it is
// short) or added. While the character grows, a character with more strokes is matched on its
// first strokes, so that it shows before it is finished.

#include <span>

#include "handwriting/candidate.h"
#include "handwriting/ink.h"
#include "handwriting/median_templates.h"

namespace qir::handwriting {

// The costs of the alignment's steps, in the frame's units (the spread is one).
struct MatcherCosts {
    double swap = 0.15;        // two neighbouring strokes drawn the other way round
    double join = 0.3;         // one drawn stroke for two of the character's
    double leftOut = 0.35;     // a stroke of the character not drawn, plus...
    double leftOutLength = 1;  // ... its length in the frame's units times this
    double extra = 1.2;        // a drawn stroke the character does not have
    double unfinished = 0.04;  // each stroke still to come, matching on the first strokes
};

class MedianMatcher {
  public:
    explicit MedianMatcher(MedianTemplates templates, MatcherCosts costs = {});

    // The `count` characters that fit `ink` best, best first (lowest score); nothing for no
    // ink or more than kMostStrokes strokes.
    Candidates rank(std::span<const Polyline> ink, std::size_t count) const;

    const MedianTemplates& templates() const { return templates_; }

  private:
    MedianTemplates templates_;
    MatcherCosts costs_;
};

}  // namespace qir::handwriting
