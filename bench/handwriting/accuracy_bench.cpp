// SPDX-License-Identifier: GPL-3.0-or-later
// How often the recognisers name the character a learner drew: every character of the store,
// drawn clean, with an order slip, with two strokes joined and with a short stroke left out
// (handwriting_samples.h), several samples each with fixed seeds. Prints top-1 and top-10 for
// zinnia alone, our matcher alone and the combination the pad shows, beside the goals.
//   handwriting_accuracy_bench [STORE_FOLDER] [--samples N] [--every N] [--failures N]
//                              [--model FILE] [--costs SWAP,JOIN,LEFT,LEFTLEN,EXTRA,UNFINISHED]
#include <QString>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "bench/practice/store_characters.h"
#include "handwriting/combination.h"
#include "handwriting/median_matcher.h"
#include "handwriting/zinnia_model.h"
#include "handwriting_samples.h"
#include "platform/gb2312.h"

namespace {

using namespace qir::handwriting;
using qir::handwriting::bench::Slip;

constexpr std::array kSlips = {Slip::None, Slip::OrderSlip, Slip::Joined, Slip::LeftOut};
constexpr std::array kSlipNames = {"clean", "order slip", "joined strokes", "stroke left out"};
constexpr std::array kGoalTop1 = {99.5, 95.0, 80.0, 80.0};
constexpr std::array kGoalTop10 = {99.9, 99.5, 95.0, 95.0};
constexpr unsigned kSeed = 20261223;

struct Tally {
    long drawn = 0;
    long top1 = 0;
    long top10 = 0;
    void count(const Candidates& candidates, const std::string& hanzi) {
        ++drawn;
        for (std::size_t i = 0; i < candidates.size() && i < kCandidatesShown; ++i) {
            if (candidates[i].hanzi == hanzi) {
                ++top10;
                top1 += i == 0 ? 1 : 0;
                break;
            }
        }
    }
    double share(long part) const { return drawn == 0 ? 0 : 100.0 * part / drawn; }
};

MatcherCosts costsFrom(const char* text) {
    MatcherCosts costs;
    std::sscanf(text, "%lf,%lf,%lf,%lf,%lf,%lf", &costs.swap, &costs.join, &costs.leftOut,
                &costs.leftOutLength, &costs.extra, &costs.unfinished);
    return costs;
}

std::string shown(const std::string& hanzi) {
    return qir::gb2312::toUnicode(hanzi).toStdString();
}

std::string listed(const Candidates& candidates) {
    std::string text;
    for (std::size_t i = 0; i < candidates.size() && i < kCandidatesShown; ++i) {
        text += shown(candidates[i].hanzi);
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    int samples = 3;
    int every = 1;
    int failures = 0;
    std::filesystem::path model = kDebianModel;
    MatcherCosts costs;
    for (int i = 1; i < argc; ++i) {
        const auto option = [&](const char* name) {
            return std::strcmp(argv[i], name) == 0 && i + 1 < argc;
        };
        if (option("--samples")) {
            samples = std::atoi(argv[++i]);
        } else if (option("--every")) {
            every = std::max(1, std::atoi(argv[++i]));
        } else if (option("--failures")) {
            failures = std::atoi(argv[++i]);
        } else if (option("--model")) {
            model = argv[++i];
        } else if (option("--costs")) {
            costs = costsFrom(argv[++i]);
        }
    }
    const auto characters =
        qir::practice::bench::storeCharacters(qir::practice::bench::storeFolder(argc, argv));
    const auto started = std::chrono::steady_clock::now();
    MedianTemplates templates;
    for (const auto& character : characters) {
        templates.characters.push_back(medianTemplate(character.hanzi, character.medians));
    }
    const double buildMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    std::printf("%zu characters; templates built in %.0f ms, %.1f MB\n", characters.size(), buildMs,
                static_cast<double>(templates.bytes()) / (1024 * 1024));
    const MedianMatcher matcher(std::move(templates), costs);
    std::unique_ptr<ZinniaModel> zinnia;
    try {
        zinnia = std::make_unique<ZinniaModel>(model);
    } catch (const std::exception& error) {
        std::printf("zinnia left out: %s\n", error.what());
    }
    std::array<std::array<Tally, 3>, kSlips.size()> table{};
    for (std::size_t c = 0; c < characters.size(); c += static_cast<std::size_t>(every)) {
        for (std::size_t s = 0; s < kSlips.size(); ++s) {
            for (int sample = 0; sample < samples; ++sample) {
                std::mt19937 random(kSeed + static_cast<unsigned>(c * 64 + s * 16 + sample));
                const auto ink = bench::drawnByALearner(characters[c].medians, kSlips[s], random);
                if (!ink) {
                    continue;
                }
                const Candidates own = matcher.rank(*ink, kCandidatesShown);
                const Candidates other = zinnia ? zinnia->rank(*ink, kCombinedFrom) : Candidates{};
                const Candidates shipped = combined(own, other, kCandidatesShown);
                if (zinnia) {
                    table[s][0].count(other, characters[c].hanzi);
                }
                table[s][1].count(own, characters[c].hanzi);
                const long before = table[s][2].top1;
                table[s][2].count(shipped, characters[c].hanzi);
                if (table[s][2].top1 == before && failures > 0) {
                    --failures;
                    std::printf("  %s %s: shipped %s | own %s | zinnia %s\n", kSlipNames[s],
                                shown(characters[c].hanzi).c_str(), listed(shipped).c_str(),
                                listed(own).c_str(), listed(other).c_str());
                }
            }
        }
    }
    std::printf("\n%-16s %8s %8s   %8s %8s   %8s %8s   goal %5s %5s\n", "set", "zinnia", "", "own",
                "", "shipped", "", "top1", "top10");
    std::printf("%-16s %8s %8s   %8s %8s   %8s %8s\n", "", "top1", "top10", "top1", "top10", "top1",
                "top10");
    for (std::size_t s = 0; s < kSlips.size(); ++s) {
        std::printf("%-16s", kSlipNames[s]);
        for (const Tally& tally : table[s]) {
            std::printf(" %7.2f%% %7.2f%%  ", tally.share(tally.top1), tally.share(tally.top10));
        }
        std::printf(" %5.1f %5.1f   (%ld drawn)\n", kGoalTop1[s], kGoalTop10[s], table[s][1].drawn);
    }
    return 0;
}
