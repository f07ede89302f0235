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
constexpr int kWholeBelow = 2;
constexpr int kWholeAbove = 3;

// Drawn strokes in their own frame, kStrokePoints points each.
struct DrawnInk {
    std::size_t strokes = 0;
    std::vector<float> points;
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
    return drawn;
}

// The template's strokes (and joined pairs) up to `strokes`, in the frame of those strokes.
struct FramedTemplate {
    std::vector<float> points;
    std::vector<float> joined;
    std::vector<float> lengths;
};

void framed(const std::vector<float>& from, std::size_t values, const Frame& frame,
            std::vector<float>& to) {
    to.resize(values);
    const float cx = static_cast<float>(frame.centre.x);
    const float cy = static_cast<float>(frame.centre.y);
    const float scale = static_cast<float>(1 / frame.spread);
    for (std::size_t i = 0; i + 1 < values; i += 2) {
        to[i] = (from[i] - cx) * scale;
        to[i + 1] = (from[i + 1] - cy) * scale;
    }
}

// The mean distance of corresponding points of two strokes.
double strokeDistance(const float* a, const float* b) {
    float sum = 0;
    for (std::size_t i = 0; i < 2 * kStrokePoints; i += 2) {
        const float dx = a[i] - b[i];
        const float dy = a[i + 1] - b[i + 1];
        sum += std::sqrt(dx * dx + dy * dy);
    }
    return sum / static_cast<float>(kStrokePoints);
}

class Alignment {
  public:
    Alignment(const MatcherCosts& costs) : costs_(costs) {}

    // The cheapest alignment of all drawn strokes with the template's first `strokes`.
    double cost(const DrawnInk& drawn, const MedianTemplate& character, std::size_t strokes) {
        const Frame frame = character.prefix[strokes].frame();
        framed(character.points, strokes * kStrokePoints * 2, frame, shape_.points);
        framed(character.joined, strokes > 0 ? (strokes - 1) * kStrokePoints * 2 : 0, frame,
               shape_.joined);
        const int n = static_cast<int>(drawn.strokes);
        const int p = static_cast<int>(strokes);
        const int width = p + 1;
        table_.assign(static_cast<std::size_t>((n + 1) * width), kNone);
        const auto at = [&](int i, int j) -> double& {
            return table_[static_cast<std::size_t>(i * width + j)];
        };
        const auto drawnStroke = [&](int i) {
            return drawn.points.data() + static_cast<std::size_t>(i) * 2 * kStrokePoints;
        };
        const auto ownStroke = [&](int j) {
            return shape_.points.data() + static_cast<std::size_t>(j) * 2 * kStrokePoints;
        };
        const double toFrame = 1 / frame.spread;
        at(0, 0) = 0;
        for (int i = 0; i <= n; ++i) {
            for (int j = std::max(0, i - kBand); j <= std::min(p, i + kBand); ++j) {
                const double here = at(i, j);
                if (here == kNone) {
                    continue;
                }
                const auto relax = [&](int ti, int tj, double step) {
                    if (std::abs(ti - tj) <= kBand && here + step < at(ti, tj)) {
                        at(ti, tj) = here + step;
                    }
                };
                if (i < n && j < p) {
                    relax(i + 1, j + 1, strokeDistance(drawnStroke(i), ownStroke(j)));
                }
                if (i + 1 < n && j + 1 < p) {
                    relax(i + 2, j + 2,
                          costs_.swap + strokeDistance(drawnStroke(i), ownStroke(j + 1)) +
                              strokeDistance(drawnStroke(i + 1), ownStroke(j)));
                }
                if (i < n && j + 1 < p) {
                    relax(i + 1, j + 2,
                          costs_.join +
                              strokeDistance(drawnStroke(i),
                                             shape_.joined.data() +
                                                 static_cast<std::size_t>(j) * 2 * kStrokePoints));
                }
                if (j < p) {
                    relax(i, j + 1,
                          costs_.leftOut + costs_.leftOutLength *
                                               character.lengths[static_cast<std::size_t>(j)] *
                                               toFrame);
                }
                if (i < n) {
                    relax(i + 1, j, costs_.extra);
                }
            }
        }
        return at(n, p);
    }

  private:
    const MatcherCosts& costs_;
    FramedTemplate shape_;
    std::vector<double> table_;
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
    Alignment alignment(costs_);
    std::vector<std::pair<double, std::size_t>> scored;
    for (std::size_t index = 0; index < templates_.characters.size(); ++index) {
        const MedianTemplate& character = templates_.characters[index];
        const int m = static_cast<int>(character.strokes);
        double best = kNone;
        if (m >= n - kWholeBelow && m <= n + kWholeAbove) {
            best = alignment.cost(drawn, character, character.strokes);
        }
        if (m > n) {
            best = std::min(best, alignment.cost(drawn, character, drawn.strokes) +
                                      costs_.unfinished * (m - n));
        }
        if (best < kNone) {
            scored.emplace_back(best, index);
        }
    }
    const std::size_t kept = std::min(count, scored.size());
    std::partial_sort(scored.begin(), scored.begin() + static_cast<std::ptrdiff_t>(kept),
                      scored.end());
    Candidates result;
    for (std::size_t i = 0; i < kept; ++i) {
        result.push_back({templates_.characters[scored[i].second].hanzi, scored[i].first});
    }
    return result;
}

}  // namespace qir::handwriting
