// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/median_matcher.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qir::handwriting {
namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();
// How far the alignment may stray from the diagonal: enough for a few joined or missing strokes.
constexpr int kBand = 3;
// Characters with this many strokes more or fewer than drawn are matched whole.
constexpr int kWholeBelow = 1;
constexpr int kWholeAbove = 2;

// Drawn strokes in their own frame, kStrokePoints points each.
struct DrawnInk {
    std::size_t strokes = 0;
    std::vector<float> points;
    std::vector<float> halves;  // see MedianTemplate::halves
};

DrawnInk drawnInk(std::span<const Polyline> ink) {
    DrawnInk drawn;
    Moments moments;
    std::vector<Polyline> even;
    for (const Polyline& stroke : ink) {
        even.push_back(practice::resampled(stroke, kStrokePoints));
        moments += strokeMoments(even.back(), practice::pathLength(stroke));
    }
    const Frame frame = moments.frame();
    drawn.strokes = even.size();
    for (const Polyline& stroke : even) {
        for (const Point& point : stroke) {
            drawn.points.push_back(static_cast<float>((point.x - frame.centre.x) / frame.spread));
            drawn.points.push_back(static_cast<float>((point.y - frame.centre.y) / frame.spread));
        }
    }
    drawn.halves = halfMeans(drawn.points);
    return drawn;
}

constexpr std::size_t kStrokeValues = 2 * kStrokePoints;

// The mean distance of corresponding points of two strokes.
double strokeDistance(const float* a, const float* b) {
    float sum = 0;
    for (std::size_t i = 0; i < kStrokeValues; i += 2) {
        const float dx = a[i] - b[i];
        const float dy = a[i + 1] - b[i + 1];
        sum += std::sqrt(dx * dx + dy * dy);
    }
    return sum / static_cast<float>(kStrokePoints);
}

class Alignment {
  public:
    Alignment(const MatcherCosts& costs, const DrawnInk& drawn) : costs_(costs), drawn_(drawn) {}

    // The cheapest alignment of all drawn strokes with the template's first `strokes`, or
    // kNone as soon as it is sure to cost more than `limit`.
    double cost(const MedianTemplate& character, std::size_t strokes, double limit) {
        character_ = &character;
        frame_ = character.prefix[strokes].frame();
        n_ = static_cast<int>(drawn_.strokes);
        p_ = static_cast<int>(strokes);
        if (lowerBound() > limit) {
            return kNone;
        }
        const int width = p_ + 1;
        table_.assign(static_cast<std::size_t>((n_ + 1) * width), kNone);
        pairs_.assign(static_cast<std::size_t>(n_ * p_), -1);
        joins_.assign(static_cast<std::size_t>(n_ * p_), -1);
        framedStroke_.assign(strokes, false);
        framedJoin_.assign(strokes, false);
        own_.resize(strokes * kStrokeValues);
        joined_.resize(strokes * kStrokeValues);
        const auto at = [&](int i, int j) -> double& {
            return table_[static_cast<std::size_t>(i * width + j)];
        };
        const double toFrame = 1 / frame_.spread;
        at(0, 0) = 0;
        double previousRow = 0;
        for (int i = 0; i <= n_; ++i) {
            double row = kNone;
            for (int j = std::max(0, i - kBand); j <= std::min(p_, i + kBand); ++j) {
                const double here = at(i, j);
                if (here == kNone) {
                    continue;
                }
                row = std::min(row, here);
                const auto relax = [&](int ti, int tj, double step) {
                    if (std::abs(ti - tj) <= kBand && here + step < at(ti, tj)) {
                        at(ti, tj) = here + step;
                    }
                };
                if (i < n_ && j < p_) {
                    relax(i + 1, j + 1, pair(i, j));
                }
                if (i + 1 < n_ && j + 1 < p_) {
                    relax(i + 2, j + 2, costs_.swap + pair(i, j + 1) + pair(i + 1, j));
                }
                if (i < n_ && j + 1 < p_) {
                    relax(i + 1, j + 2, costs_.join + join(i, j));
                }
                if (j < p_) {
                    relax(i, j + 1,
                          costs_.leftOut + costs_.leftOutLength *
                                               character.lengths[static_cast<std::size_t>(j)] *
                                               toFrame);
                }
                if (i < n_) {
                    relax(i + 1, j, costs_.extra);
                }
            }
            // Every alignment passes through this row or the one before (a swap steps over
            // one row, no step over two), and no step costs less than nothing.
            if (std::min(row, previousRow) > limit) {
                return kNone;
            }
            previousRow = row;
        }
        return at(n_, p_);
    }

  private:
    // No alignment costs less: each drawn stroke is matched to a stroke or joined pair near
    // its place in the order, or is extra; and the mean distance of two strokes' points is at
    // least the mean of the distances between their halves' means.
    double lowerBound() const {
        const float cx = static_cast<float>(frame_.centre.x);
        const float cy = static_cast<float>(frame_.centre.y);
        const float scale = static_cast<float>(1 / frame_.spread);
        const auto halvesApart = [&](const float* drawn, const float* own) {
            const float ax = drawn[0] - (own[0] - cx) * scale;
            const float ay = drawn[1] - (own[1] - cy) * scale;
            const float bx = drawn[2] - (own[2] - cx) * scale;
            const float by = drawn[3] - (own[3] - cy) * scale;
            return 0.5 * (std::sqrt(ax * ax + ay * ay) + std::sqrt(bx * bx + by * by));
        };
        double sum = 0;
        for (int i = 0; i < n_; ++i) {
            const float* drawn = drawn_.halves.data() + 4 * static_cast<std::size_t>(i);
            double best = costs_.extra;
            // A swap pairs a stroke with one a place further than the band.
            for (int j = std::max(0, i - kBand - 1); j <= std::min(p_ - 1, i + kBand + 1); ++j) {
                const auto at = 4 * static_cast<std::size_t>(j);
                best = std::min(best, halvesApart(drawn, character_->halves.data() + at));
                if (j + 1 < p_) {
                    best = std::min(
                        best,
                        costs_.join + halvesApart(drawn, character_->joinedHalves.data() + at));
                }
            }
            sum += best;
        }
        return sum;
    }

    const float* drawnStroke(int i) const {
        return drawn_.points.data() + static_cast<std::size_t>(i) * kStrokeValues;
    }

    // The template's stroke `j` in the frame, put there when first asked for.
    const float* ownStroke(int j) {
        const auto at = static_cast<std::size_t>(j);
        if (!framedStroke_[at]) {
            framedStroke_[at] = true;
            framed(character_->points.data() + at * kStrokeValues,
                   own_.data() + at * kStrokeValues);
        }
        return own_.data() + at * kStrokeValues;
    }

    // Strokes `j` and `j + 1` run together, in the frame.
    const float* joinedStrokes(int j) {
        const auto at = static_cast<std::size_t>(j);
        if (!framedJoin_[at]) {
            framedJoin_[at] = true;
            framed(character_->joined.data() + at * kStrokeValues,
                   joined_.data() + at * kStrokeValues);
        }
        return joined_.data() + at * kStrokeValues;
    }

    void framed(const float* from, float* to) const {
        const float cx = static_cast<float>(frame_.centre.x);
        const float cy = static_cast<float>(frame_.centre.y);
        const float scale = static_cast<float>(1 / frame_.spread);
        for (std::size_t i = 0; i < kStrokeValues; i += 2) {
            to[i] = (from[i] - cx) * scale;
            to[i + 1] = (from[i + 1] - cy) * scale;
        }
    }

    double pair(int i, int j) {
        double& known = pairs_[static_cast<std::size_t>(i * p_ + j)];
        if (known < 0) {
            known = strokeDistance(drawnStroke(i), ownStroke(j));
        }
        return known;
    }

    double join(int i, int j) {
        double& known = joins_[static_cast<std::size_t>(i * p_ + j)];
        if (known < 0) {
            known = strokeDistance(drawnStroke(i), joinedStrokes(j));
        }
        return known;
    }

    const MatcherCosts& costs_;
    const DrawnInk& drawn_;
    const MedianTemplate* character_ = nullptr;
    Frame frame_;
    int n_ = 0;
    int p_ = 0;
    std::vector<double> table_;
    std::vector<double> pairs_;
    std::vector<double> joins_;
    std::vector<bool> framedStroke_;
    std::vector<bool> framedJoin_;
    std::vector<float> own_;
    std::vector<float> joined_;
};

}  // namespace

MedianMatcher::MedianMatcher(MedianTemplates templates, MatcherCosts costs)
    : templates_(std::move(templates)), costs_(costs) {}

Candidates MedianMatcher::rank(std::span<const Polyline> ink, std::size_t count) const {
    if (ink.empty() || ink.size() > kMostStrokes || count == 0) {
        return {};
    }
    const DrawnInk drawn = drawnInk(ink);
    const int n = static_cast<int>(drawn.strokes);
    Alignment alignment(costs_, drawn);
    // The best `count` so far, the worst on top: a character that cannot beat it is given up
    // as soon as its alignment shows so.
    std::vector<std::pair<double, std::size_t>> best;
    const auto limit = [&] { return best.size() < count ? kNone : best.front().first; };
    for (std::size_t index = 0; index < templates_.characters.size(); ++index) {
        const MedianTemplate& character = templates_.characters[index];
        const int m = static_cast<int>(character.strokes);
        double score = kNone;
        if (m >= n - kWholeBelow && m <= n + kWholeAbove) {
            score = alignment.cost(character, character.strokes, limit());
        }
        if (m > n) {
            const double unfinished = costs_.unfinished * (m - n);
            score = std::min(score, alignment.cost(character, drawn.strokes,
                                                   std::min(score, limit()) - unfinished) +
                                        unfinished);
        }
        if (score < limit()) {
            if (best.size() == count) {
                std::pop_heap(best.begin(), best.end());
                best.pop_back();
            }
            best.emplace_back(score, index);
            std::push_heap(best.begin(), best.end());
        }
    }
    std::sort_heap(best.begin(), best.end());
    Candidates result;
    for (const auto& [score, index] : best) {
        result.push_back({templates_.characters[index].hanzi, score});
    }
    return result;
}

}  // namespace qir::handwriting
