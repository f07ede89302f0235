// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/order_checker/order_comparison.h"

#include <algorithm>
#include <optional>

#include "tools/order_checker/reference_order.h"

namespace qir::tools {
namespace {

// Moves longer than this are not looked for: a stroke put a few steps too early or too late
// makes a cycle as long as the steps it jumps, and real faults jump few.
constexpr std::size_t kLongestCycle = 6;

class CycleSearch {
  public:
    CycleSearch(const std::vector<StrokeClassSet>& strokes,
                const std::vector<StrokeClassSet>& accepted)
        : strokes_(strokes), accepted_(accepted), used_(strokes.size(), false) {}

    bool fits(std::size_t stroke, std::size_t step) const {
        return strokes_[stroke].intersects(accepted_[step]);
    }

    // The shortest cycle of at most `length` steps through `start` over unused steps, each
    // step's stroke fitting the next step; the steps are marked used.
    std::optional<std::vector<int>> take(std::size_t start, std::size_t length) {
        std::vector<std::size_t> path{start};
        if (!extend(path, length)) {
            return std::nullopt;
        }
        std::vector<int> cycle;
        for (const std::size_t step : path) {
            used_[step] = true;
            cycle.push_back(static_cast<int>(step));
        }
        return cycle;
    }
    bool used(std::size_t step) const { return used_[step]; }

  private:
    bool extend(std::vector<std::size_t>& path, std::size_t length) {
        const std::size_t last = path.back();
        for (std::size_t next = 0; next < strokes_.size(); ++next) {
            if (used_[next] || !fits(last, next)) {
                continue;
            }
            if (next == path.front()) {
                if (path.size() == length) {
                    return true;
                }
                continue;
            }
            if (path.size() >= length || std::find(path.begin(), path.end(), next) != path.end()) {
                continue;
            }
            path.push_back(next);
            if (extend(path, length)) {
                return true;
            }
            path.pop_back();
        }
        return false;
    }

    const std::vector<StrokeClassSet>& strokes_;
    const std::vector<StrokeClassSet>& accepted_;
    std::vector<bool> used_;
};

}  // namespace

OrderComparison compareOrder(const std::vector<StrokeClassSet>& strokes,
                             const std::string& letters) {
    OrderComparison result;
    if (strokes.size() != letters.size()) {
        result.verdict = OrderVerdict::CountDiffers;
        return result;
    }
    std::vector<StrokeClassSet> accepted;
    for (const char letter : letters) {
        const std::optional<StrokeClassSet> classes = classesOfLetter(letter);
        if (!classes) {
            result.verdict = OrderVerdict::UnknownLetter;
            return result;
        }
        accepted.push_back(*classes);
    }
    for (std::size_t step = 0; step < strokes.size(); ++step) {
        if (!strokes[step].intersects(accepted[step])) {
            result.differing.push_back(static_cast<int>(step));
        }
    }
    if (result.differing.empty()) {
        return result;
    }
    // Short cycles first: a swap of two strokes is likelier than a rotation of three. A
    // cycle may pass through steps that fit as they are (a stroke moved past its twin).
    CycleSearch search(strokes, accepted);
    for (std::size_t length = 2; length <= kLongestCycle; ++length) {
        for (const int step : result.differing) {
            if (!search.used(static_cast<std::size_t>(step))) {
                if (auto cycle = search.take(static_cast<std::size_t>(step), length)) {
                    result.cycles.push_back(std::move(*cycle));
                }
            }
        }
    }
    for (const int step : result.differing) {
        if (!search.used(static_cast<std::size_t>(step))) {
            result.unexplained.push_back(step);
        }
    }
    result.verdict = result.cycles.empty() ? OrderVerdict::Doubt : OrderVerdict::OrderFault;
    return result;
}

}  // namespace qir::tools
