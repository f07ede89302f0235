// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/practice_session.h"

#include <algorithm>

namespace qir::practice {

PracticeSession::PracticeSession(const std::vector<Polyline>& medians, Leniency leniency,
                                 int missesBeforeHint)
    : judge_(medians, leniency),
      missesBeforeHint_(std::max(missesBeforeHint, 1)),
      mistakes_(medians.size(), 0) {}

Verdict PracticeSession::draw(DrawnStroke stroke) {
    const Verdict verdict = judge_.judge(drawn_, stroke);
    if (verdict.right()) {
        drawn_.push_back(std::move(stroke));
    } else if (!finished()) {
        ++mistakes_[static_cast<std::size_t>(nextStroke())];
    }
    return verdict;
}

void PracticeSession::restart() {
    drawn_.clear();
    std::fill(mistakes_.begin(), mistakes_.end(), 0);
}

bool PracticeSession::hintDue() const {
    return !finished() && mistakes_[static_cast<std::size_t>(nextStroke())] >= missesBeforeHint_;
}

int PracticeSession::scorePercent() const {
    if (mistakes_.empty()) {
        return 0;
    }
    const auto clean = std::count(mistakes_.begin(), mistakes_.end(), 0);
    return static_cast<int>((clean * 100 + static_cast<long>(mistakes_.size()) / 2) /
                            static_cast<long>(mistakes_.size()));
}

}  // namespace qir::practice
