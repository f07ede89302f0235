// SPDX-License-Identifier: GPL-3.0-or-later
// How long judging one stroke takes: every stroke of every character of the store, drawn as a
// person draws it and judged at normal leniency after the strokes before it. Prints the
// median, the 99th percentile and the slowest, and the times of absurd strokes.
//   practice_speed_bench [STORE_FOLDER]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "practice/stroke_judge.h"
#include "store_characters.h"
#include "stroke_samples.h"

namespace {

using namespace qir::practice;
using namespace qir::practice::bench;
using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::micro>(duration).count();
}

// The slowest of a few runs of `judge` on `stroke`, in microseconds.
double timed(const StrokeJudge& judge, std::span<const DrawnStroke> before,
             const DrawnStroke& stroke) {
    double slowest = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        const Verdict verdict = judge.judge(before, stroke);
        slowest = std::max(slowest, microseconds(Clock::now() - start));
        asm volatile("" : : "g"(&verdict) : "memory");
    }
    return slowest;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<StoreCharacter> characters = storeCharacters(storeFolder(argc, argv));
    std::mt19937 random(20261209);
    std::vector<double> times;
    for (const StoreCharacter& character : characters) {
        const StrokeJudge judge(character.medians);
        const Writer writer = randomWriter(random);
        std::vector<DrawnStroke> drawn;
        for (const Polyline& median : character.medians) {
            drawn.push_back(drawnLikeAPerson(median, writer, random));
        }
        for (std::size_t k = 0; k < drawn.size(); ++k) {
            const auto start = Clock::now();
            const Verdict verdict = judge.judge(std::span(drawn.data(), k), drawn[k]);
            times.push_back(microseconds(Clock::now() - start));
            asm volatile("" : : "g"(&verdict) : "memory");
        }
    }
    std::sort(times.begin(), times.end());
    const auto at = [&](double share) {
        return times[std::min(times.size() - 1,
                              static_cast<std::size_t>(share * static_cast<double>(times.size())))];
    };
    std::printf("Judging a stroke (normal), %zu strokes of %zu characters:\n", times.size(),
                characters.size());
    std::printf(
        "  median %.1f us, 90th percentile %.1f us, 99th percentile %.1f us, slowest %.1f us"
        "   (goal: 99th percentile < 1000 us)\n",
        at(0.5), at(0.9), at(0.99), times.back());

    // The character with the most strokes, to judge absurd strokes against.
    const StoreCharacter& most = *std::max_element(
        characters.begin(), characters.end(), [](const StoreCharacter& a, const StoreCharacter& b) {
            return a.medians.size() < b.medians.size();
        });
    const StrokeJudge judge(most.medians);
    std::vector<DrawnStroke> before;
    DrawnStroke huge;
    for (int i = 0; i < 100000; ++i) {
        huge.push_back(
            {0.5 + 0.4 * std::sin(i * 0.01), 0.5 + 0.4 * std::cos(i * 0.013), i * 0.001, 0.5});
    }
    const DrawnStroke outside = {{-1e9, 5e8, 0, -1}, {3e12, -7e11, 0.1, -1}};
    const DrawnStroke tap = {{0.5, 0.5, 0, -1}};
    std::printf("Absurd strokes against a character of %zu strokes:\n", most.medians.size());
    std::printf("  100,000 points: %.1f us\n", timed(judge, before, huge));
    std::printf("  far outside the box: %.1f us\n", timed(judge, before, outside));
    std::printf("  a tap of one point: %.1f us\n", timed(judge, before, tap));
    const auto start = Clock::now();
    for (int i = 0; i < 500; ++i) {
        const Verdict verdict = judge.judge(before, randomStroke(random));
        if (verdict.right()) {
            before.push_back({});
        }
    }
    std::printf("  a scribble of 500 strokes: %.1f us in all\n",
                microseconds(Clock::now() - start));
    return 0;
}
