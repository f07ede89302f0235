// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One go at writing one character: the strokes judged right so far, the misses on each
// stroke, when the next stroke's hint is due, and the score at the end.

#include <vector>

#include "practice/stroke_judge.h"

namespace qir::practice {

class PracticeSession {
  public:
    // `missesBeforeHint`: after this many misses on one stroke its hint shows by itself.
    PracticeSession(const std::vector<Polyline>& medians, Leniency leniency,
                    int missesBeforeHint = 3);

    // Judges `stroke` as the next one. A right stroke is kept; a wrong one counts as a miss
    // on the stroke due. After the last stroke every further one is Extra and counts nothing.
    Verdict draw(DrawnStroke stroke);

    // Starts the character again; the misses are forgotten.
    void restart();

    int strokeCount() const { return judge_.strokeCount(); }
    // The stroke due next, from 0; strokeCount() once finished.
    int nextStroke() const { return static_cast<int>(drawn_.size()); }
    bool finished() const { return nextStroke() >= strokeCount(); }
    // True when the stroke due has been missed `missesBeforeHint` times or more.
    bool hintDue() const;

    // Misses per stroke, in writing order.
    const std::vector<int>& mistakes() const { return mistakes_; }
    // The strokes right at the first try, out of all, as a whole percentage.
    int scorePercent() const;

    const std::vector<DrawnStroke>& drawn() const { return drawn_; }
    const StrokeJudge& judge() const { return judge_; }

  private:
    StrokeJudge judge_;
    int missesBeforeHint_;
    std::vector<DrawnStroke> drawn_;
    std::vector<int> mistakes_;
};

}  // namespace qir::practice
